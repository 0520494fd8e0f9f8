"""What the installation tests share: a game folder with the original stand-ins and one run of
CradlePatch.exe with its boxes answered."""
import os
import time

import harness
from harness import (BoxAnswer, ConsoleRun, Program, fixture, place_file, prefix_path, remove_tree,
                     screenshot, sha256, wait_until_no_window, window_of)

NOTICE = "补丁安装结束，程序在10秒后自动关闭......"
CONFIRM_TITLE = "欧尼酱~有件事要问您~"
ERROR_TITLE = "欧尼酱~出错啦~"
ASSEMBLY = "AliceInCradle_Data\\Managed\\Assembly-CSharp.dll"
COMPARISON = "补丁对比图"
PLACEHOLDER = "该文件夹没用可以直接删除"
ORIGINAL_CLASS, PATCHED_CLASS = "AliceInCradleStandIn", "AliceInCradleStandInPatched"
LIGHT_RED_ON_BLACK, LIGHT_GREEN_ON_BLACK = 0x0C, 0x0A


def payload(name):
    return os.path.join(harness.ARGS.payload_dir, name)


class GameFolder:
    """A game folder with the original stand-ins, the game started from it."""

    def __init__(self, folder, exe_name="AliceInCradle.exe"):
        assert wait_until_no_window("AliceInCradle"), "a game window of an earlier test is still there"
        self.folder = folder
        self.exe = folder + "\\" + exe_name
        place_file(fixture("original/AliceInCradle.exe"), self.exe)
        place_file(fixture("original/Assembly-CSharp.dll"), folder + "\\" + ASSEMBLY)
        self.game = Program(self.exe, "--lifetime", "300")
        self.window, self.pid = window_of("AliceInCradle", window_class=ORIGINAL_CLASS)
        assert self.window, "the stand-in game shows no window"

    def path(self, relative):
        return prefix_path(self.folder + "\\" + relative)

    def listing(self, relative):
        folder = self.path(relative)
        return sorted(os.listdir(folder)) if os.path.isdir(folder) else None

    def restart(self):
        """Starts the game again from its folder, as a player would."""
        self.game.kill()
        self.game = Program(self.exe, "--lifetime", "300")
        self.window, self.pid = window_of("AliceInCradle")
        assert self.window, "the game shows no window"

    def close(self):
        self.game.kill()
        remove_tree(self.folder[:3] + self.folder[3:].split("\\")[0])


class Run:
    """What one run of CradlePatch.exe showed and did."""
    screen = confirm = error = None
    relaunched = (0, 0)
    started = ()  # the command lines of the processes it started


def install(answer, *, locale="zh_CN.UTF-8", exe=None, cwd=None, relaunched_class=PATCHED_CLASS,
            error_box=False, shots=None):
    run = Run()
    with ConsoleRun(exe or harness.ARGS.exe, locale=locale, cwd=cwd) as console, \
            BoxAnswer(CONFIRM_TITLE, answer, wait_ms=30000, hold_ms=1000 if shots else 0) as confirm:
        errors = BoxAnswer(ERROR_TITLE, "ok", wait_ms=60000) if error_box else None
        asked = confirm.wait_shown(30)
        if asked and shots:
            screenshot(os.path.join(shots, "confirm-box.png"))
        shown = console.wait_for_text(NOTICE, 90) if asked else None
        run.confirm = confirm.report()
        run.error = errors.report() if errors else None
        if shown is not None and answer == "ok":
            # The program is in its closing pause: what it started is still running.
            run.relaunched = window_of("AliceInCradle", timeout=10, window_class=relaunched_class)
            if shots:
                time.sleep(1)
                screenshot(os.path.join(shots, "after-installation.png"))
        run.screen = console.screen()
        run.text = console.text()
        run.started = console.started_command_lines()
        if errors:
            errors.program.kill()
    return run


class InstallationChecks:
    """Checks of a game folder and of what a run showed, for a unittest.TestCase."""

    def tearDown(self):
        for folder in getattr(self, "folders", []):
            folder.close()

    def game(self, folder="C:\\Games\\AliceInCradle", exe_name="AliceInCradle.exe"):
        self.folders = getattr(self, "folders", []) + [GameFolder(folder, exe_name)]
        return self.folders[-1]

    def assert_notice(self, run):
        self.assertIsNotNone(run.screen.find_row(NOTICE), run.text)

    def assert_lines(self, run, colour, *texts):
        for text in texts:
            found = run.screen.find_row(text)
            self.assertIsNotNone(found, f"{text!r} not shown:\n{run.text}")
            self.assertEqual(set(found[1]), {colour}, text)

    def assert_no_failure_lines(self, run):
        coloured = {a for _, attributes in run.screen.rows() for a in attributes}
        self.assertNotIn(LIGHT_RED_ON_BLACK, coloured, run.text)

    def assert_unchanged(self, game):
        self.assertEqual(sha256(game.path(ASSEMBLY)), sha256(fixture("original/Assembly-CSharp.dll")))
        self.assertEqual(sha256(prefix_path(game.exe)), sha256(fixture("original/AliceInCradle.exe")))
        self.assertIsNone(game.listing(COMPARISON))

    def assert_installed(self, game):
        self.assertEqual(sha256(game.path(ASSEMBLY)), sha256(payload("Assembly-CSharp.dll")))
        self.assertEqual(sha256(game.path("AliceInCradle.exe")), sha256(payload("AliceInCradle.exe")))
        self.assertEqual(game.listing(COMPARISON), sorted([PLACEHOLDER, "安装前.PNG", "安装后.PNG"]))
        self.assertEqual(os.path.getsize(game.path(COMPARISON + "\\" + PLACEHOLDER)), 0)
        for picture in ("安装前.PNG", "安装后.PNG"):
            self.assertEqual(sha256(game.path(COMPARISON + "\\" + picture)), sha256(payload(picture)))
        self.assertEqual(game.listing("AliceInCradle_Data\\Managed"), ["Assembly-CSharp.dll"])

    def assert_started_quoted(self, run, game):
        """The game was started again and the file manager opened, both by quoted paths."""
        self.assertIn(f'"{game.exe}"', run.started)
        self.assertIn(f'"C:\\windows\\explorer.exe" "{game.folder}\\{COMPARISON}"', run.started)

    def assert_nothing_lost(self, game):
        """Each game file is the old one or the payload, whole; no temporary file is left."""
        for target, original, new in ((ASSEMBLY, "original/Assembly-CSharp.dll", "Assembly-CSharp.dll"),
                                      ("AliceInCradle.exe", "original/AliceInCradle.exe", "AliceInCradle.exe")):
            self.assertIn(sha256(game.path(target)), {sha256(fixture(original)), sha256(payload(new))}, target)
        left = [os.path.join(folder, name) for folder, _, names in os.walk(game.path(""))
                for name in names if name.endswith(".cradle-new")]
        self.assertEqual(left, [])
