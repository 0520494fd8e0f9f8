#!/usr/bin/env python3
"""The whole installation under a Wine console and Xvfb: a stand-in game folder with the original
stand-ins, the stand-in game running, CradlePatch.exe answered by test_helper. Nothing may be
lost: every game file is the old file or the payload byte for byte, and no temporary file stays."""
import os
import time
import unittest

import harness
from harness import (BoxAnswer, ConsoleRun, Program, fixture, place_file, prefix_path, remove_tree,
                     screenshot, sha256, window_of)

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
        remove_tree("C:\\" + self.folder[3:].split("\\")[0])


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


class InstallationTest(unittest.TestCase):
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

    def test_ok_installs_everything_and_starts_the_patched_game(self):
        game = self.game()
        shots = os.path.join(os.path.dirname(harness.ARGS.exe), "screenshots")
        run = install("ok", shots=shots)
        self.assertEqual(run.confirm["text"], "成功检查到游戏，是否确认安装补丁？\r\n请确保你的游戏版本是: ver 0.24g")
        self.assertEqual(run.confirm["buttons"], [[1, "确定"], [2, "取消"]])
        self.assertEqual(run.confirm["icon"], "question")
        self.assert_installed(game)
        self.assert_lines(run, LIGHT_GREEN_ON_BLACK, f"结束进程 {game.pid}", "导出补丁......",
                          "重新运行 AliceInCradle.exe")
        self.assert_no_failure_lines(run)
        self.assert_notice(run)
        if harness.ARGS.sample_payloads:
            window, pid = run.relaunched
            self.assertTrue(window, "the patched stand-in game was not started again")
            self.assertNotEqual(pid, game.pid)
        self.assert_started_quoted(run, game)

    def test_cancel_escape_and_close_change_nothing(self):
        game = self.game()
        for answer in ("cancel", "escape", "close"):
            with self.subTest(answer=answer):
                run = install(answer)
                self.assertEqual(run.confirm["buttons"], [[1, "确定"], [2, "取消"]])
                self.assertIsNotNone(run.confirm)
                self.assert_unchanged(game)
                self.assertIsNone(run.screen.find_row("结束进程"))
                self.assert_notice(run)
                self.assertEqual(window_of("AliceInCradle", window_class=ORIGINAL_CLASS)[1], game.pid)

    def test_two_installations_leave_identical_files(self):
        game = self.game()
        install("ok")
        first = {name: sha256(game.path(name)) for name in (ASSEMBLY, "AliceInCradle.exe")}
        game.restart()  # the patched game now
        run = install("ok")
        self.assertIsNotNone(run.confirm)
        self.assert_installed(game)
        self.assertEqual({name: sha256(game.path(name)) for name in first}, first)
        self.assert_no_failure_lines(run)

    def test_a_renamed_game_gets_the_payload_under_the_fixed_name_and_restarts_as_it_is(self):
        game = self.game(exe_name="Game.exe")
        run = install("ok", relaunched_class=ORIGINAL_CLASS)
        self.assert_installed(game)
        self.assert_started_quoted(run, game)
        self.assertEqual(sha256(prefix_path(game.exe)), sha256(fixture("original/AliceInCradle.exe")))
        self.assert_lines(run, LIGHT_GREEN_ON_BLACK, "重新运行 Game.exe")
        window, pid = run.relaunched
        self.assertTrue(window, "Game.exe was not started again")
        self.assertNotEqual(pid, game.pid)

    def test_no_planted_program_is_ever_started(self):
        # Where unquoted command lines would reach: the first words of the game's path, and an
        # explorer.exe beside the installer and in the current folder.
        game = self.game("C:\\My Games\\Alice In Cradle")
        decoys = ["C:\\My.exe", "C:\\My Games\\Alice.exe", "C:\\Downloads\\explorer.exe", "C:\\Work\\explorer.exe"]
        for decoy in decoys:
            place_file(fixture("decoy.exe"), decoy)
        place_file(harness.ARGS.exe, "C:\\Downloads\\CradlePatch.exe")
        try:
            run = install("ok", exe="C:\\Downloads\\CradlePatch.exe", cwd=prefix_path("C:\\Work"))
            self.assertEqual([d for d in decoys if os.path.exists(prefix_path(d + ".started"))], [])
            self.assert_installed(game)
            self.assert_started_quoted(run, game)
            if harness.ARGS.sample_payloads:
                self.assertTrue(run.relaunched[0], "the game in a folder with spaces was not started again")
        finally:
            for decoy in decoys:
                os.unlink(prefix_path(decoy))
            remove_tree("C:\\Downloads")
            remove_tree("C:\\Work")

    def test_a_chinese_folder_under_either_ansi_code_page(self):
        game = self.game("C:\\游戏\\爱丽丝的摇篮")
        for locale in ("zh_CN.UTF-8", "en_US.UTF-8"):
            with self.subTest(locale=locale):
                remove_tree(game.folder + "\\" + COMPARISON)
                game.restart()
                run = install("ok", locale=locale)
                self.assert_installed(game)
                self.assert_no_failure_lines(run)
                self.assertIsNotNone(run.screen.find_row("游戏路径 " + game.exe), run.text)

    def check_refused(self, game, run, access_denied=None):
        target = game.folder + "\\" + ASSEMBLY
        self.assertEqual(sha256(game.path(ASSEMBLY)), sha256(fixture("original/Assembly-CSharp.dll")))
        self.assertEqual(sha256(game.path("AliceInCradle.exe")), sha256(payload("AliceInCradle.exe")))
        found = run.screen.find_row("替换文件失败：" + target)
        self.assertIsNotNone(found, run.text)
        self.assertEqual(set(found[1]), {LIGHT_RED_ON_BLACK})
        self.assertIsNotNone(run.error, "no error box")
        self.assertTrue(run.error["text"].startswith("补丁没有安装完整！"), run.error["text"])
        self.assertIn(target, run.error["text"])
        self.assertEqual(run.error["icon"], "error")
        if access_denied is not None:
            self.assertEqual("以管理员身份运行" in run.error["text"], access_denied)
        self.assert_notice(run)

    def test_a_target_held_open_stays_as_it_was(self):
        game = self.game()
        with Program(fixture("test_helper.exe"), "hold", game.folder + "\\" + ASSEMBLY, "120") as holder:
            self.assertEqual(holder.read_line(), "held")
            run = install("ok", error_box=True)
        self.check_refused(game, run)
        self.assertEqual(game.listing("AliceInCradle_Data\\Managed"), ["Assembly-CSharp.dll"])

    def test_a_read_only_target_stays_as_it_was(self):
        game = self.game()
        os.chmod(game.path(ASSEMBLY), 0o444)  # Wine shows it as read-only
        run = install("ok", error_box=True)
        self.check_refused(game, run, access_denied=True)
        self.assertEqual(game.listing("AliceInCradle_Data\\Managed"), ["Assembly-CSharp.dll"])

    def test_a_missing_managed_folder_is_reported_and_not_made(self):
        game = self.game()
        remove_tree(game.folder + "\\AliceInCradle_Data\\Managed")
        run = install("ok", error_box=True)
        self.assertIsNone(game.listing("AliceInCradle_Data\\Managed"))
        self.assertEqual(sha256(game.path("AliceInCradle.exe")), sha256(payload("AliceInCradle.exe")))
        self.assertIsNotNone(run.screen.find_row("替换文件失败：" + game.folder + "\\" + ASSEMBLY), run.text)
        self.assertIsNotNone(run.error, "no error box")
        self.assertIn(game.folder + "\\" + ASSEMBLY, run.error["text"])


def arguments(parser):
    parser.add_argument("--payload-dir", required=True, help="the folder the payloads were embedded from")
    parser.add_argument("--sample-payloads", action="store_true", help="the payloads are the sample set")


if __name__ == "__main__":
    harness.main(__doc__, arguments)
