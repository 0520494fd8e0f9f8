#!/usr/bin/env python3
"""The benchmark tables: image overhead, embedding cost, memory at run time and work time, each
beside an NSIS installer of the same files where one compares. Run by tools/bench.sh, which
installs and builds first; writes the tables to stdout and to build/bench/results.md.

Every comparison is a ratio of two things measured in the same run: the machines are shared and
noisy, so no figure is asserted.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
BENCH = os.path.join(ROOT, "build", "bench")
NAMES = ("Assembly-CSharp.dll", "AliceInCradle.exe", "安装前.PNG", "安装后.PNG")
TARGETS = ("AliceInCradle_Data\\Managed\\Assembly-CSharp.dll", "AliceInCradle.exe",
           "补丁对比图\\安装前.PNG", "补丁对比图\\安装后.PNG")
# How a real payload set divides its bytes among the members.
SHARES = (0.66, 0.15, 0.09, 0.10)
WINE = "/usr/lib/wine/wine64"
CONFIRM_TITLE = "欧尼酱~有件事要问您~"
NOTICE = "补丁安装结束，程序在10秒后自动关闭......".encode("gbk")
# The lines that mark the steps of a run, and the pause the program must make within each step.
STEPS = (("detection: window, process, image path, name", "游戏路径 ", 0.0),
         ("confirmation box shown and answered", "结束进程 ", 1.0),
         ("ending the game and waiting for it", "导出补丁", 1.0),
         ("replacing both files, starting the game again", "重新运行 ", 1.0),
         ("comparison folder, pictures, file manager", "补丁安装结束", 0.0))
REQUIRED_PAUSES_BEFORE_NOTICE = 3.0  # after the report, after ending the game, after the writes
MB = 1024 * 1024


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, **kw)


def measured(cmd, cwd=None):
    """(seconds, peak resident memory of the largest process in MB) of a command, in a process of
    its own so that the figures belong to this command alone."""
    probe = ("import resource,subprocess,sys,time;t=time.monotonic();"
             "r=subprocess.run(sys.argv[1:],stdout=subprocess.DEVNULL,stderr=subprocess.DEVNULL).returncode;"
             "print(time.monotonic()-t,resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss,r)")
    out = run([sys.executable, "-c", probe, *cmd], cwd=cwd, capture_output=True, text=True).stdout.split()
    if out[2] != "0":
        raise SystemExit(f"failed: {' '.join(cmd)}")
    return float(out[0]), int(out[1]) / 1024


def payload_set(folder, total, sample):
    """The sample files, each padded at its end so that the set holds about `total` bytes. A
    program, a library and a PNG all ignore bytes behind their end, so the set still works."""
    os.makedirs(folder, exist_ok=True)
    for name, share in zip(NAMES, SHARES):
        with open(os.path.join(sample, name), "rb") as f:
            data = f.read()
        padding = max(0, int(total * share) - len(data))
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
            f.write(b"\0" * padding)
    return folder


def set_size(folder):
    return sum(os.path.getsize(os.path.join(folder, n)) for n in NAMES)


def build(preset, folder, payloads=None, targets=("CradlePatch",), build_type=None):
    args = ["cmake", "--preset", preset, "-B", folder]
    if payloads:
        args.append(f"-DCRADLE_PAYLOAD_DIR={payloads}")
    if build_type:
        args.append(f"-DCMAKE_BUILD_TYPE={build_type}")
    configure = measured(args, cwd=ROOT)
    compile_ = measured(["cmake", "--build", folder, "-j2", "--target", *targets], cwd=ROOT)
    return configure, compile_


def nsis_installer(payloads, target, out):
    """An NSIS installer of the same four files, stored uncompressed."""
    work = tempfile.mkdtemp(dir=BENCH)
    for name in NAMES:
        shutil.copy(os.path.join(payloads, name), work)
    script = os.path.join(work, "installer.nsi")
    lines = ["Unicode true", f"Target {target}", "SetCompress off", "RequestExecutionLevel user",
             'Name "cradle-patch comparison"', f'OutFile "{out}"', 'InstallDir "C:\\Games\\NSIS"', "Section"]
    folders = {}
    for name, dest in zip(NAMES, TARGETS):
        folders.setdefault(dest.rpartition("\\")[0], []).append(name)
    for sub, names in folders.items():
        lines.append(f'  SetOutPath "$INSTDIR{chr(92) + sub if sub else ""}"')
        lines += [f'  File "{n}"' for n in names]
    lines.append("SectionEnd")
    with open(script, "w", encoding="utf-8-sig") as f:
        f.write("\n".join(lines) + "\n")
    run(["makensis", "-V2", script], capture_output=True)
    shutil.rmtree(work)
    return out


def sections(image, payload_bytes):
    import pefile
    pe = pefile.PE(image)
    parts = [("headers", pe.OPTIONAL_HEADER.SizeOfHeaders)]
    for s in pe.sections:
        name = s.Name.rstrip(b"\0").decode()
        size = s.SizeOfRawData - (payload_bytes if name == ".rdata" else 0)
        parts.append((name + (" less payloads" if name == ".rdata" else ""), size))
    return parts


def table(title, header, rows):
    lines = [f"### {title}", "", "| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    lines += ["| " + " | ".join(str(c) for c in row) + " |" for row in rows]
    return "\n".join(lines) + "\n"


def image_overhead(sample):
    release = os.path.join(BENCH, "release")
    build("release", release)
    image = os.path.join(release, "CradlePatch.exe")
    payload_bytes = set_size(sample)
    ours = os.path.getsize(image) - payload_bytes
    nsis = os.path.getsize(nsis_installer(sample, "x86-unicode", os.path.join(BENCH, "nsis-x86.exe"))) - payload_bytes
    rows = [["CradlePatch.exe (i686, release)", os.path.getsize(image), payload_bytes, ours],
            ["NSIS 3.08, x86-unicode, SetCompress off", nsis + payload_bytes, payload_bytes, nsis],
            ["ratio", "", "", f"{ours / nsis:.2f} ×"]]
    text = table("1. Image overhead: the image less its payloads (bytes)",
                 ["installer", "image", "payloads", "overhead"], rows)
    text += "\n" + table("What the program's overhead is made of (bytes)", ["part", "bytes"],
                         sections(image, payload_bytes))
    return text


def embedding_cost(sample):
    rows = []
    for total in (4 * MB, 100 * MB, 400 * MB):
        payloads = payload_set(os.path.join(BENCH, f"payloads-{total // MB}"), total, sample)
        folder = os.path.join(BENCH, f"embed-{total // MB}")
        shutil.rmtree(folder, ignore_errors=True)
        (configure_s, configure_mb), (build_s, build_mb) = build("release", folder, payloads)
        rows.append([f"{set_size(payloads) / MB:.0f} MB", f"{configure_s:.1f}", f"{build_s:.1f}",
                     f"{configure_s + build_s:.1f}", f"{max(configure_mb, build_mb):.0f}"])
        shutil.rmtree(folder)
    small, large = float(rows[0][3]), float(rows[-1][3])
    grown = float(rows[-1][0].split()[0]) - float(rows[0][0].split()[0])
    rows.append(["growth", "", "", f"{(large - small) / grown * 100:.2f} s per 100 MB", ""])
    return table("2. Embedding cost: configure and build from nothing (release)",
                 ["payload set", "configure s", "build s", "total s", "peak memory MB (largest process)"], rows)


class Installation:
    """One full installation under Wine on a stand-in game, timed and watched."""

    def __init__(self, exe, fixtures, prefix, display):
        self.exe, self.fixtures, self.prefix = exe, fixtures, prefix
        self.env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", LC_ALL="zh_CN.UTF-8",
                        WINEDLLOVERRIDES="mscoree,mshtml=", DISPLAY=display)
        self.game = os.path.join(prefix, "drive_c", "Games", "AliceInCradle")

    def prepare(self):
        shutil.rmtree(self.game, ignore_errors=True)
        os.makedirs(os.path.join(self.game, "AliceInCradle_Data", "Managed"))
        shutil.copy(os.path.join(self.fixtures, "original", "AliceInCradle.exe"), self.game)
        shutil.copy(os.path.join(self.fixtures, "original", "Assembly-CSharp.dll"),
                    os.path.join(self.game, "AliceInCradle_Data", "Managed"))
        game = subprocess.Popen([WINE, "C:\\Games\\AliceInCradle\\AliceInCradle.exe", "--lifetime", "300"],
                                env=self.env, start_new_session=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        helper = os.path.join(self.fixtures, "test_helper.exe")
        for _ in range(100):
            out = subprocess.run([WINE, helper, "window-of", "AliceInCradle"], env=self.env,
                                 capture_output=True, text=True).stdout
            if not out.startswith("0 "):
                break
            time.sleep(0.1)
        return game

    def run(self):
        """(seconds from start to the closing notice, peak anonymous MB, peak file-backed MB,
        seconds at which each step's line appeared)."""
        game = self.prepare()
        helper = subprocess.Popen([WINE, os.path.join(self.fixtures, "test_helper.exe"), "answer-box",
                                   CONFIRM_TITLE, "ok", "-"], env=self.env, start_new_session=True,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1)  # the helper is looking before the program asks
        peaks = {"RssAnon": 0, "RssFile": 0}
        started = time.monotonic()
        program = subprocess.Popen([WINE, self.exe], env=self.env, start_new_session=True,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        output, done, seen = bytearray(), threading.Event(), {}

        def read():
            while chunk := program.stdout.read1(65536):
                output.extend(chunk)
                for _, marker, _ in STEPS:
                    if marker not in seen and marker.encode("gbk") in output:
                        seen[marker] = time.monotonic() - started
                if NOTICE in output:
                    done.set()
            done.set()

        threading.Thread(target=read, daemon=True).start()
        while not done.wait(0.01):
            try:
                with open(f"/proc/{program.pid}/status") as f:
                    for line in f:
                        key, _, value = line.partition(":")
                        if key in peaks:
                            peaks[key] = max(peaks[key], int(value.split()[0]))
            except OSError:
                pass
        seconds = time.monotonic() - started
        for process in (program, helper, game):
            try:
                os.killpg(process.pid, 9)
            except ProcessLookupError:
                pass
            process.wait()
        if NOTICE not in output:
            raise SystemExit("the installation did not finish")
        return seconds, peaks["RssAnon"] / 1024, peaks["RssFile"] / 1024, seen

    def nsis(self, installer):
        folder = os.path.join(self.prefix, "drive_c", "Games", "NSIS")
        shutil.rmtree(folder, ignore_errors=True)
        started = time.monotonic()
        run([WINE, installer, "/S", "/D=C:\\Games\\NSIS"], env=self.env, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        seconds = time.monotonic() - started
        if not os.path.exists(os.path.join(folder, "AliceInCradle.exe")):
            raise SystemExit("the NSIS installer installed nothing")
        return seconds


def wine_session():
    """A prefix and an X server for the runs; the caller stops them."""
    xvfb = os.path.join(BENCH, "xvfb")
    run([os.path.join(ROOT, "tools", "xvfb.sh"), "up", xvfb])
    with open(os.path.join(xvfb, "display")) as f:
        display = f.read().strip()
    prefix = os.path.join(BENCH, "wineprefix")
    env = dict(os.environ, CRADLE_DISPLAY_FILE=os.path.join(xvfb, "display"))
    run([os.path.join(ROOT, "tools", "wine-prefix.sh"), "up", prefix, WINE], env=env,
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return prefix, display, xvfb


def runtime(sample64, prefix, display):
    rows, work = [], []
    for total in (4 * MB, 400 * MB):
        payloads = payload_set(os.path.join(BENCH, f"payloads64-{total // MB}"), total, sample64)
        folder = os.path.join(BENCH, f"run-{total // MB}")
        build("wine64", folder, payloads, ("CradlePatch", "test_helper", "stand_in_game_original",
                                          "stand_in_assembly_original"), "Release")
        installation = Installation(os.path.join(folder, "CradlePatch.exe"), os.path.join(folder, "fixtures"),
                                    prefix, display)
        first = installation.run()
        rows.append([f"{set_size(payloads) / MB:.0f} MB", f"{first[1]:.1f}", f"{first[2]:.1f}"])
        if total == 4 * MB:
            runs = [installation.run() for _ in range(3)] + [first]
            work = [r[0] for r in runs]
            nsis = nsis_installer(payloads, "amd64-unicode", os.path.join(BENCH, "nsis-amd64.exe"))
            nsis_times = [installation.nsis(nsis) for _ in range(5)]
    text = table("3. Memory at run time: peak of the installing process under Wine (MB)",
                 ["payload set", "anonymous (RssAnon)", "file-backed (RssFile)"], rows)
    ours = statistics.median(work) - REQUIRED_PAUSES_BEFORE_NOTICE
    theirs = statistics.median(nsis_times)
    text += "\n" + table("4. Work time of an installation, 4 MB set, under Wine (median seconds)",
                         ["installer", "wall time", "less required pauses", "ratio"],
                         [["CradlePatch.exe (x86_64 build), start to closing notice", f"{statistics.median(work):.2f}",
                           f"{ours:.2f}", f"{ours / theirs:.2f} ×"],
                          ["NSIS 3.08 amd64-unicode, /S", f"{theirs:.2f}", f"{theirs:.2f}", "1.00 ×"]])
    steps, previous = [], "start"
    for title, marker, pause in STEPS:
        spans = [r[3][marker] - (r[3][previous] if previous != "start" else 0.0) for r in runs]
        steps.append([title, f"{statistics.median(spans):.2f}", f"{pause:.1f}", f"{statistics.median(spans) - pause:.2f}"])
        previous = marker
    text += "\n" + table("Where the program's time goes (median seconds, from line to line)",
                         ["step", "wall", "required pause", "work"], steps)
    return text


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--only", choices=("overhead", "embedding", "runtime"), action="append")
    args = parser.parse_args()
    only = set(args.only or ("overhead", "embedding", "runtime"))
    os.makedirs(BENCH, exist_ok=True)
    sample32 = os.path.join(BENCH, "release", "sample-payloads")
    out = [f"## Benchmarks, {time.strftime('%Y-%m-%d')}, {os.cpu_count()} cores\n"]
    if only & {"overhead", "embedding"}:
        build("release", os.path.join(BENCH, "release"))
    if "overhead" in only:
        out.append(image_overhead(sample32))
    if "embedding" in only:
        out.append(embedding_cost(sample32))
    if "runtime" in only:
        sample64_build = os.path.join(BENCH, "wine64-sample")
        build("wine64", sample64_build, None, ("CradlePatch",), "Release")
        prefix, display, xvfb = wine_session()
        try:
            out.append(runtime(os.path.join(sample64_build, "sample-payloads"), prefix, display))
        finally:
            subprocess.run([os.path.join(ROOT, "tools", "wine-prefix.sh"), "down", prefix])
            subprocess.run([os.path.join(ROOT, "tools", "xvfb.sh"), "down", xvfb])
    text = "\n".join(out)
    print(text)
    with open(os.path.join(BENCH, "results.md"), "w") as f:
        f.write(text)


if __name__ == "__main__":
    main()
