#!/usr/bin/python3
"""Logs in as a clerk does, on the real program: clicks into the boxes, types on the keyboard
and clicks 登录. A wrong password is refused with its message; the refused password is then
selected, so the right one typed next replaces it, and Enter in the password box logs in. Run
by run_atspi.sh inside a private X server and D-Bus session."""

import sys

import pyatspi

from atspi_support import (KEY_RETURN, ProgramRun, click, find, press_keys, read_message,
                           type_text, wait_for)


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        program, app = run.start()
        user = wait_for(lambda: find(app, description="用户_组合框"), what="用户_组合框")
        password = wait_for(lambda: find(app, description="编辑框2"), what="编辑框2")
        login = wait_for(lambda: find(app, description="按钮2"), what="按钮2")

        click(find(user, role=pyatspi.ROLE_TEXT) or user)
        type_text("admin")
        click(password)
        type_text("wrong")
        click(login)
        assert read_message(app) == "密码错误"

        type_text("admin")
        press_keys(KEY_RETURN)
        main_window = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        wait_for(lambda: find(main_window, description="工具条1_2"), what="toolbar button 工具条1_2")
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
