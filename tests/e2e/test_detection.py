#!/usr/bin/env python3
"""How CradlePatch.exe finds the game: by its window, by its process name alone, or not at all,
when it says so in an error box and ends without the closing notice."""
import os
import time
import unittest

import harness
from harness import (BoxAnswer, ConsoleRun, Program, fixture, pid_of, place_file, remove_tree,
                     screenshot, window_of, windows_path)

NOTICE = "补丁安装结束，程序在10秒后自动关闭......"
FOLDER = "C:\\Games\\AliceInCradle"
GAME = FOLDER + "\\AliceInCradle.exe"
ERROR_TITLE = "欧尼酱~出错啦~"
CONFIRM_TITLE = "欧尼酱~有件事要问您~"


class DetectionTest(unittest.TestCase):
    def setUp(self):
        place_file(fixture("original/AliceInCradle.exe"), GAME)

    def tearDown(self):
        remove_tree("C:\\Games")

    def check_report(self, screen, window, pid, path):
        for label, value in (("窗口句柄ID ", str(window)), ("游戏进程ID ", str(pid)), ("游戏路径 ", path)):
            row, attributes = screen.find_row(label + value)
            self.assertEqual(row.rstrip(), label + value)
            self.assertEqual(set(attributes[:len(label)]), {0x03}, label)  # cyan on black
            self.assertEqual(set(attributes[len(label):]), {0x07}, label)  # light grey on black

    def test_the_game_window_gives_the_process_and_its_path(self):
        with Program(harness.prefix_path(GAME), "--lifetime", "120"):
            window, pid = window_of("AliceInCradle")
            self.assertTrue(window)
            with ConsoleRun(harness.ARGS.exe) as run, BoxAnswer(CONFIRM_TITLE, "cancel") as confirm:
                self.assertIsNotNone(run.wait_for_text(NOTICE, 60), run.text())
                self.check_report(run.screen(), window, pid, GAME)
                self.assertIsNotNone(confirm.report(), "a found game leads to the confirmation")

    def test_a_game_process_without_window_is_found_by_name(self):
        with Program(harness.prefix_path(GAME), "--no-window", "--lifetime", "120"):
            for _ in range(50):
                pid = pid_of("AliceInCradle.exe")
                if pid:
                    break
                time.sleep(0.1)
            self.assertTrue(pid)
            with ConsoleRun(harness.ARGS.exe) as run, BoxAnswer(CONFIRM_TITLE, "cancel") as confirm:
                self.assertIsNotNone(run.wait_for_text(NOTICE, 60), run.text())
                self.check_report(run.screen(), 0, pid, GAME)
                self.assertIsNotNone(confirm.report(), "a found game leads to the confirmation")

    def test_no_game_the_error_box_names_the_program_itself_and_it_ends(self):
        own_folder = windows_path(os.path.dirname(harness.ARGS.exe)) + "\\"
        own_name = os.path.basename(harness.ARGS.exe)
        shot = os.path.join(os.path.dirname(harness.ARGS.exe), "screenshots", "error-box.png")
        os.makedirs(os.path.dirname(shot), exist_ok=True)
        with ConsoleRun(harness.ARGS.exe) as run, BoxAnswer(ERROR_TITLE, "ok", hold_ms=1500) as box:
            self.assertTrue(box.wait_shown(), "no error box appeared")
            screenshot(shot)
            report = box.report()
            answered = time.monotonic()
            self.assertEqual(run.wait(30), 0)
            self.assertLess(time.monotonic() - answered, 5, "the program went on after the box")
            screen = run.screen()
        self.assertIsNotNone(report, "no error box appeared")
        self.assertEqual(report["title"], ERROR_TITLE)
        self.assertEqual(report["text"],
                         "未能成功寻找到游戏！\r\n请确保游戏已经在运行，版本号与补丁适配版本ver 0.24g相同！\r\n\r\n"
                         "----------变量信息----------\r\n进程ID：0\r\n窗口句柄：0\r\n"
                         f"程序路径：{own_folder}\r\n程序命名：{own_name}")
        self.assertEqual(report["buttons"], [[1, "确定"]])
        self.assertEqual(report["icon"], "error")
        self.check_report(screen, 0, 0, own_folder + own_name)
        self.assertIsNone(screen.find_row(NOTICE), "the closing notice follows only an installation")


if __name__ == "__main__":
    harness.main(__doc__)
