#!/usr/bin/env python3
"""What goes wrong around an installation, end to end under Wine and Xvfb. In every case nothing is
lost (each game file is the old file or the payload, whole, and no temporary file stays) and the
player is told the truth, on the console and, where a game file was not replaced, in a box.
Planted programs (explorer.exe beside the installer and in the current folder, the first words of
a folder with spaces) are covered by test_installation.py."""
import os
import subprocess
import unittest

import harness
from harness import BoxAnswer, ConsoleRun, run_redirected, sha256
from installation import (ASSEMBLY, CONFIRM_TITLE, LIGHT_GREEN_ON_BLACK, LIGHT_RED_ON_BLACK,
                          NOTICE, ORIGINAL_CLASS, InstallationChecks, install, payload)

DISK_DRIVE = "t:"


class FaultMatrixTest(InstallationChecks, unittest.TestCase):
    def test_the_disk_fills_during_the_write(self):
        # A small file system of its own, as drive T: of the prefix: the originals fit, the larger
        # payload does not.
        mount_point = os.path.join(os.path.dirname(harness.ARGS.exe), "full-disk")
        os.makedirs(mount_point, exist_ok=True)
        originals = sum(os.path.getsize(harness.fixture(f"original/{name}"))
                        for name in ("AliceInCradle.exe", "Assembly-CSharp.dll"))
        room = originals + 64 * 1024
        if os.path.getsize(payload("AliceInCradle.exe")) <= room - originals:
            self.skipTest("the payload fits; the case needs a payload larger than the free room")
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={room}", "tmpfs", mount_point],
                                 capture_output=True, text=True)
        if mounted.returncode != 0:
            self.skipTest(f"a small file system could not be mounted: {mounted.stderr.strip()}")
        drive = os.path.join(os.environ["WINEPREFIX"], "dosdevices", DISK_DRIVE)
        try:
            os.symlink(mount_point, drive)
            game = self.game("T:\\AliceInCradle")
            run = install("ok", error_box=True, relaunched_class=ORIGINAL_CLASS)
            self.assert_nothing_lost(game)
            self.assertEqual(sha256(game.path("AliceInCradle.exe")), sha256(harness.fixture("original/AliceInCradle.exe")))
            failure = run.screen.find_row("替换文件失败：T:\\AliceInCradle\\AliceInCradle.exe")
            self.assertIsNotNone(failure, run.text)
            self.assertEqual(set(failure[1]), {LIGHT_RED_ON_BLACK})
            self.assertIsNotNone(run.error, "no error box")
            self.assertIn("T:\\AliceInCradle\\AliceInCradle.exe", run.error["text"])
            self.assert_notice(run)
        finally:
            for folder in self.folders:
                folder.game.kill()
            self.folders = []
            if os.path.islink(drive):
                os.unlink(drive)
            subprocess.run(["umount", "-l", mount_point], capture_output=True)

    def test_the_game_ends_by_itself_before_the_confirmation(self):
        game = self.game()
        with ConsoleRun(harness.ARGS.exe) as console, BoxAnswer(CONFIRM_TITLE, "ok", hold_ms=3000) as confirm:
            self.assertTrue(confirm.wait_shown(30))
            game.game.kill()
            self.assertIsNotNone(console.wait_for_text(NOTICE, 90), console.text())
            screen, text = console.screen(), console.text()
        self.assert_nothing_lost(game)
        self.assert_installed(game)
        for line in (f"结束进程 {game.pid}", "导出补丁......", "重新运行 AliceInCradle.exe"):
            self.assertIsNotNone(screen.find_row(line), line + " not in:\n" + text)
        self.assertNotIn(LIGHT_RED_ON_BLACK, {a for _, attributes in screen.rows() for a in attributes}, text)

    def test_a_game_folder_path_longer_than_260_characters(self):
        folder = "C:\\Games\\" + "\\".join(["AliceInCradle-" + "长" * 20 + "-" + "x" * 20] * 5)
        self.assertGreater(len(folder + "\\" + ASSEMBLY), 260)
        game = self.game(folder)
        run = install("ok")
        self.assert_nothing_lost(game)
        self.assert_installed(game)
        # The game cannot be started from a path that long (the platform's own limit, under Wine
        # as under Windows): that is said, in place of the line that says it was started.
        failure = "".join(text.rstrip() for text, attributes in run.screen.rows() if LIGHT_RED_ON_BLACK in attributes)
        self.assertTrue(failure.startswith("重新运行游戏失败：C:\\Games\\"), failure)
        self.assertEqual(failure.count("失败："), 1, failure)
        self.assertIsNone(run.screen.find_row("重新运行 AliceInCradle.exe"), run.text)
        self.assert_notice(run)

    def test_output_redirected_to_a_file_holds_the_programs_text(self):
        game = self.game()
        with BoxAnswer(CONFIRM_TITLE, "ok"):
            code, output = run_redirected(harness.ARGS.exe, timeout=120)
        self.assertEqual(code, 0)
        self.assert_installed(game)
        text = output.decode("gbk")
        for line in ("免责声明：本程序仅供参考，技术分享。", f"窗口句柄ID {game.window}", f"游戏进程ID {game.pid}",
                     f"游戏路径 {game.exe}", f"结束进程 {game.pid}", "导出补丁......", "重新运行 AliceInCradle.exe",
                     NOTICE):
            self.assertIn(line + "\r\n", text)
        self.assertTrue(text.endswith(NOTICE + "\r\n"), text)

    def test_a_code_page_437_console_still_shows_chinese(self):
        game = self.game()
        run = install("ok", locale="en_US.UTF-8")
        self.assert_installed(game)
        for line in ("免责声明：本程序仅供参考，技术分享。", f"游戏路径 {game.exe}", "导出补丁......", NOTICE):
            self.assertIsNotNone(run.screen.find_row(line), run.text)
        self.assert_lines(run, LIGHT_GREEN_ON_BLACK, f"结束进程 {game.pid}", "重新运行 AliceInCradle.exe")


def arguments(parser):
    parser.add_argument("--payload-dir", required=True, help="the folder the payloads were embedded from")
    parser.add_argument("--sample-payloads", action="store_true", help="the payloads are the sample set")


if __name__ == "__main__":
    harness.main(__doc__, arguments)
