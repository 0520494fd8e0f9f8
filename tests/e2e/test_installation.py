#!/usr/bin/env python3
"""The whole installation under a Wine console and Xvfb: a stand-in game folder with the original
stand-ins, the stand-in game running, CradlePatch.exe answered by test_helper. Nothing may be
lost: every game file is the old file or the payload byte for byte, and no temporary file stays."""
import os
import unittest

import harness
from harness import Program, fixture, place_file, prefix_path, remove_tree, sha256, window_of
from installation import (ASSEMBLY, COMPARISON, LIGHT_GREEN_ON_BLACK, LIGHT_RED_ON_BLACK,
                          ORIGINAL_CLASS, InstallationChecks, install, payload)

class InstallationTest(InstallationChecks, unittest.TestCase):
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
