#!/usr/bin/env python3
"""CradlePatch.exe under a Wine console: the banner, the closing notice, their colours, the
closing pause, and the same text when standard output is a file."""
import argparse
import sys
import time
import unittest

from harness import ConsoleRun, run_redirected

ARGS = None
NOTICE = "补丁安装结束，程序在10秒后自动关闭......"


def banner():
    return ([("免责声明：本程序仅供参考，技术分享。", 0xFC), ("补丁适配游戏版本:ver 0.24g", 0xFC)]
            + [(link, 0x9E) for link in ARGS.link])


class BannerTest(unittest.TestCase):
    def run_on_console(self, locale):
        """(screen, seconds from the notice to the exit) of one whole run."""
        with ConsoleRun(ARGS.exe, locale=locale) as run:
            shown = run.wait_for_text(NOTICE, 60)
            self.assertIsNotNone(shown, run.text())
            self.assertEqual(run.wait(30), 0)
            waited = time.monotonic() - run.started - shown
            return run.screen(), waited

    def check_lines_and_colours(self, screen):
        rows = [text.rstrip() for text, _ in screen.rows()]
        expected = [text for text, _ in banner()] + [NOTICE]
        start = rows.index(expected[0])
        self.assertEqual(rows[start:start + len(expected)], expected)
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
        code, output = run_redirected(ARGS.exe)
        self.assertEqual(code, 0)
        expected = "".join(text + "\r\n" for text, _ in banner()) + NOTICE + "\r\n"
        self.assertEqual(output, expected.encode("gbk"))


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("exe")
    parser.add_argument("--link", action="append", default=[])
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
