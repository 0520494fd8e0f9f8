"""Runs Windows programs under Wine for the end-to-end tests.

`ConsoleRun` starts a program on a pseudo-terminal, so Wine gives it a real console, and keeps
what it draws; `run_redirected` starts one with standard output going to a file. The test prefix
and the Wine loader come from the environment CTest sets (WINEPREFIX, CRADLE_WINE).
"""
import fcntl
import os
import struct
import subprocess
import termios
import threading
import time

from terminal import Screen

COLUMNS, LINES = 120, 50


def display():
    """The tests' X server (CRADLE_DISPLAY_FILE, written by the xvfb fixture), if there is one."""
    path = os.environ.get("CRADLE_DISPLAY_FILE")
    if path and os.path.exists(path):
        with open(path) as f:
            return f.read().strip()
    return os.environ.get("DISPLAY")


def wine_environment(locale="zh_CN.UTF-8", extra=None):
    env = dict(os.environ)
    env.update({"LC_ALL": locale, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="})
    if display():
        env["DISPLAY"] = display()
    env.update(extra or {})
    return env


def wine_command(exe, *args):
    return [os.environ.get("CRADLE_WINE", "wine"), exe, *args]


class ConsoleRun:
    """A Windows program running on a pseudo-terminal of its own."""

    def __init__(self, exe, *args, locale="zh_CN.UTF-8", cwd=None, env=None):
        master, slave = os.openpty()
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", LINES, COLUMNS, 0, 0))
        self.started = time.monotonic()
        self.process = subprocess.Popen(
            wine_command(exe, *args), stdin=slave, stdout=slave, stderr=slave, cwd=cwd,
            env=wine_environment(locale, env), start_new_session=True)
        os.close(slave)
        self._master = master
        self._lock = threading.Lock()
        self._raw = b""
        self._changed = threading.Condition(self._lock)
        self._timeline = []  # (seconds since start, bytes so far)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        while True:
            try:
                chunk = os.read(self._master, 65536)
            except OSError:
                chunk = b""
            with self._lock:
                if chunk:
                    self._raw += chunk
                    self._timeline.append((time.monotonic() - self.started, len(self._raw)))
                self._changed.notify_all()
            if not chunk:
                return

    def text(self):
        with self._lock:
            return self._raw.decode("utf-8", "replace")

    def screen(self):
        screen = Screen()
        screen.feed(self.text())
        return screen

    def wait_for_text(self, wanted, timeout):
        """Seconds since start at which `wanted` first appeared on the screen; None on time-out."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            screen_text = "\n".join(t for t, _ in self.screen().rows())
            if wanted in screen_text:
                return time.monotonic() - self.started
            with self._lock:
                self._changed.wait(0.1)
        return None

    def wait(self, timeout):
        """Exit code, after the program ended and its last output was read."""
        code = self.process.wait(timeout)
        self._reader.join(5)
        return code

    def kill(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, 9)
            self.process.wait(10)
        self._reader.join(5)

    def close(self):
        self.kill()
        os.close(self._master)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def run_redirected(exe, *args, locale="zh_CN.UTF-8", timeout=60, env=None):
    """(exit code, bytes written to standard output) with standard output a file."""
    out_path = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"cradle-out-{os.getpid()}.bin")
    try:
        with open(out_path, "wb") as out:
            code = subprocess.run(wine_command(exe, *args), stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=subprocess.DEVNULL, env=wine_environment(locale, env),
                                  timeout=timeout).returncode
        with open(out_path, "rb") as f:
            return code, f.read()
    finally:
        os.unlink(out_path)
