"""Runs Windows programs under Wine for the end-to-end tests.

`ConsoleRun` starts a program on a pseudo-terminal, so Wine gives it a real console, and keeps
what it draws; `run_redirected` starts one with standard output going to a file. The test prefix
and the Wine loader come from the environment CTest sets (WINEPREFIX, CRADLE_WINE).
"""
import argparse
import fcntl
import hashlib
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import termios
import threading
import time
import unittest

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


def end_process_group(process):
    """Ends a program started in a session of its own and whatever it started: under Wine the
    processes a program starts run on in its process group."""
    try:
        os.killpg(process.pid, 9)
    except ProcessLookupError:
        pass
    process.wait(10)


def wine_command(exe, *args):
    return [os.environ.get("CRADLE_WINE", "wine"), exe, *args]


class ConsoleRun:
    """A Windows program running on a pseudo-terminal of its own. Wine's trace of the processes it
    and its children start goes to a file of its own (started_command_lines)."""

    def __init__(self, exe, *args, locale="zh_CN.UTF-8", cwd=None, env=None):
        master, slave = os.openpty()
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", LINES, COLUMNS, 0, 0))
        self._trace = tempfile.TemporaryFile()
        self.started = time.monotonic()
        self.process = subprocess.Popen(
            wine_command(exe, *args), stdin=slave, stdout=slave, stderr=self._trace, cwd=cwd,
            env=wine_environment(locale, {"WINEDEBUG": "-all,+process", **(env or {})}),
            start_new_session=True)
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
        end_process_group(self.process)
        self._reader.join(5)

    def started_command_lines(self):
        """The command line of every process started so far, exactly as it was given."""
        self._trace.seek(0)
        trace = self._trace.read().decode("utf-8", "replace")
        return [_wine_string(m.group(1)) for m in _CREATE_PROCESS.finditer(trace)]

    def close(self):
        self.kill()
        os.close(self._master)
        self._trace.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


_CREATE_PROCESS = re.compile(r'CreateProcessInternalW app \S+ cmdline L"((?:[^"\\]|\\.)*)"')


def _wine_string(escaped):
    r"""A string as Wine's trace writes it: \\, \", \n, \r, \t, and \XXXX for other units."""
    out, i = [], 0
    while i < len(escaped):
        ch = escaped[i]
        if ch != "\\":
            out.append(ch)
            i += 1
            continue
        nxt = escaped[i + 1]
        if re.match(r"[0-9a-fA-F]{4}", escaped[i + 1:i + 5]):
            out.append(chr(int(escaped[i + 1:i + 5], 16)))
            i += 5
        else:
            out.append({"n": "\n", "r": "\r", "t": "\t"}.get(nxt, nxt))
            i += 2
    return "".join(out)


def run_redirected(exe, *args, locale="zh_CN.UTF-8", timeout=60, env=None):
    """(exit code, bytes written to standard output) with standard output a file. What the
    program started is ended with it, as on a console."""
    with tempfile.TemporaryFile() as out:
        process = subprocess.Popen(wine_command(exe, *args), stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=subprocess.DEVNULL, env=wine_environment(locale, env),
                                   start_new_session=True)
        try:
            code = process.wait(timeout)
        finally:
            end_process_group(process)
        out.seek(0)
        return code, out.read()


def prefix_path(windows_path):
    """The Unix path of a drive path of the test prefix (C:\\ or another drive it maps)."""
    assert windows_path[1:3] == ":\\", windows_path
    drive = os.path.realpath(os.path.join(os.environ["WINEPREFIX"], "dosdevices", windows_path[0].lower() + ":"))
    return os.path.join(drive, *windows_path[3:].split("\\"))


def windows_path(unix_path):
    """How a program under Wine names a file of the Unix file system (drive Z:)."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def fixture(name):
    return os.path.join(os.environ["CRADLE_FIXTURE_DIR"], name)


class Program:
    """A Windows program started in the background, ended when the test is done with it."""

    def __init__(self, exe, *args, locale="zh_CN.UTF-8", cwd=None, env=None):
        self.process = subprocess.Popen(wine_command(exe, *args), stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, cwd=cwd,
                                        env=wine_environment(locale, env), start_new_session=True)

    def read_line(self):
        return self.process.stdout.readline().decode("utf-8", "replace").strip()

    def output(self, timeout=30):
        out, _ = self.process.communicate(timeout=timeout)
        return out.decode("utf-8", "replace")

    def kill(self):
        end_process_group(self.process)
        self.process.stdout.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()


def helper(*args, timeout=60):
    """Runs test_helper.exe to its end and gives what it printed."""
    with Program(fixture("test_helper.exe"), *args) as program:
        return program.output(timeout)


def window_of(title, timeout=20, window_class=None):
    """(handle, process id) of the top-level window titled `title` (and of `window_class` when
    given), waiting for it to appear."""
    deadline = time.monotonic() + timeout
    while True:
        handle, pid, found_class = helper("window-of", title).split()
        if (int(handle) and window_class in (None, found_class)) or time.monotonic() > deadline:
            return int(handle), int(pid)
        time.sleep(0.2)


def wait_until_no_window(title, timeout=20):
    """Waits until no top-level window is titled `title`: the windows of a killed process go
    a moment after it. Yes when none is left."""
    deadline = time.monotonic() + timeout
    while int(helper("window-of", title).split()[0]):
        if time.monotonic() > deadline:
            return False
        time.sleep(0.2)
    return True


def pid_of(name):
    return int(helper("pid-of", name).strip())


class BoxAnswer:
    """test_helper answering the next box titled `title` with `action`, in the background."""

    def __init__(self, title, action, wait_ms=60000, hold_ms=0):
        self.report_path = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"cradle-box-{os.getpid()}-{time.monotonic_ns()}.json")
        self.program = Program(fixture("test_helper.exe"), "answer-box", title, action,
                               windows_path(self.report_path), str(wait_ms), str(hold_ms))

    def wait_shown(self, timeout=60):
        """Yes once the helper has found the box and read it (it answers after its hold)."""
        deadline = time.monotonic() + timeout
        while not os.path.exists(self.report_path):
            if time.monotonic() > deadline or self.program.process.poll() is not None:
                return os.path.exists(self.report_path)
            time.sleep(0.05)
        return True

    def report(self, timeout=90):
        """What the box showed (title, text, buttons, icon, owner); None when no box appeared."""
        self.program.output(timeout)
        if self.program.process.returncode != 0 or not os.path.exists(self.report_path):
            return None
        with open(self.report_path, encoding="utf-8") as f:
            report = json.load(f)
        os.unlink(self.report_path)
        return report

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.program.kill()


def screenshot(path):
    """The whole screen of the tests' X server as a PNG."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["import", "-display", display(), "-window", "root", path], check=True, timeout=30)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def place_file(source, windows_target):
    """Copies `source` to a drive path of the test prefix, making its folders."""
    target = prefix_path(windows_target)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copyfile(source, target)
    return target


def remove_tree(windows_folder):
    shutil.rmtree(prefix_path(windows_folder), ignore_errors=True)


ARGS = None  # the driver's arguments, once main() has parsed them


def main(doc, add_arguments=None):
    """Parses the driver's arguments (the program under test first) and runs its tests."""
    global ARGS
    parser = argparse.ArgumentParser(description=doc)
    parser.add_argument("exe", help="CradlePatch.exe")
    parser.add_argument("--link", action="append", default=[], help="a banner link line, in order")
    if add_arguments:
        add_arguments(parser)
    ARGS, rest = parser.parse_known_args()
    unittest.main(module="__main__", argv=[sys.argv[0]] + rest, verbosity=2)
