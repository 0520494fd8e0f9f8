#!/usr/bin/env python3
"""CradlePatch.exe under a Wine console with the stand-in game running and the confirmation
cancelled: the banner, the closing notice, their colours, the closing pause, and the same text
when standard output is a file."""
import time
import unittest

import harness
from harness import BoxAnswer, ConsoleRun, Program, fixture, place_file, remove_tree, run_redirected, window_of

NOTICE = "补丁安装结束，程序在10秒后自动关闭......"
CONFIRM_TITLE = "欧尼酱~有件事要问您~"
GAME_FOLDER = "C:\\Games\\Banner"


def banner():
    return ([("免责声明：本程序仅供参考，技术分享。", 0xFC), ("补丁适配游戏版本:ver 0.24g", 0xFC)]
            + [(link, 0x9E) for link in harness.ARGS.link])


class BannerTest(unittest.TestCase):
    def setUp(self):
        place_file(fixture("original/AliceInCradle.exe"), GAME_FOLDER + "\\AliceInCradle.exe")
        self.game = Program(harness.prefix_path(GAME_FOLDER + "\\AliceInCradle.exe"), "--lifetime", "120")
        self.window, self.pid = window_of("AliceInCradle")
        self.assertTrue(self.window, "the stand-in game shows no window")

    def tearDown(self):
        self.game.kill()
        remove_tree(GAME_FOLDER)

    def run_on_console(self, locale):
        """(screen, seconds from the notice to the exit) of one whole run."""
        with ConsoleRun(harness.ARGS.exe, locale=locale) as run, BoxAnswer(CONFIRM_TITLE, "cancel"):
            shown = run.wait_for_text(NOTICE, 60)
            self.assertIsNotNone(shown, run.text())
            self.assertEqual(run.wait(30), 0)
            waited = time.monotonic() - run.started - shown
            return run.screen(), waited

    def check_lines_and_colours(self, screen):
        rows = [text.rstrip() for text, _ in screen.rows()]
        expected = [text for text, _ in banner()]
        start = rows.index(expected[0])
        self.assertEqual(rows[start:start + len(expected)], expected)
        self.assertIn(NOTICE, rows)
        for text, attribute in banner() + [(NOTICE, 0x5F)]:
            _, attributes = screen.find_row(text)
            self.assertEqual(set(attributes), {attribute}, text)

    def test_lines_colours_and_closing_pause_on_a_code_page_936_console(self):
        screen, waited = self.run_on_console("zh_CN.UTF-8")
        self.check_lines_and_colours(screen)
        self.assertGreaterEqual(waited, 9.8)
        self.assertLess(waited, 14)

    def test_chinese_still_reads_as_chinese_on_a_code_page_437_console(self):
        screen, _ = self.run_on_console("en_US.UTF-8")
        self.check_lines_and_colours(screen)

    def test_redirected_output_holds_the_text_in_code_page_936(self):
        with BoxAnswer(CONFIRM_TITLE, "cancel"):
            code, output = run_redirected(harness.ARGS.exe)
        self.assertEqual(code, 0)
        report = (f"窗口句柄ID {self.window}\r\n游戏进程ID {self.pid}\r\n"
                  f"游戏路径 {GAME_FOLDER}\\AliceInCradle.exe\r\n")
        expected = "".join(text + "\r\n" for text, _ in banner()) + report + NOTICE + "\r\n"
        self.assertEqual(output, expected.encode("gbk"))


if __name__ == "__main__":
    harness.main(__doc__)
