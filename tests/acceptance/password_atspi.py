#!/usr/bin/python3
"""Changes the password as a clerk does (clicks into the boxes, types on the keyboard, clicks
修改 with the mouse): the refusals answered in real message boxes, then the change; after a
restart only the new password logs in. Run by run_atspi.sh inside a private X server and D-Bus
session."""

import sys

from atspi_support import (ProgramRun, answer_message, assert_still_running, clear_and_type, click,
                           execute, find, log_in, press, wait_for)

NEW_PASSWORD = "n'ew 密码"


def change_password(app, old, new, repeated, typed={}):
    """Retypes the boxes whose text differs from what TYPED says they hold, clicks 修改."""
    window = wait_for(lambda: find(app, description="PasswordWindow"), what="PasswordWindow")
    for box, text in (("编辑框1", old), ("编辑框2", new), ("编辑框3", repeated)):
        if typed.get(box, "") != text:
            clear_and_type(wait_for(lambda: find(window, description=box), what=box), text,
                           length=len(typed.get(box, "")))
            typed[box] = text
    click(wait_for(lambda: find(window, description="按钮1"), what="修改"))


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        home = run.home
        program, app = run.start()
        log_in(app, "admin", "admin")
        main_window = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        press(wait_for(lambda: find(main_window, description="用户_修改密码"), what="修改密码"))

        for old, new, repeated, message in (
                ("", "x", "x", "请输入旧密码"),
                ("wrong", "x", "x", "旧密码错误"),
                ("admin", "x", "y", "2次密码不一致，无法修改密码"),
                ("admin", "", "", "密码不能为空！")):
            change_password(app, old, new, repeated)
            answer_message(app, message, "确定")
            assert_still_running(program, app, "PasswordWindow")
        assert execute(home, "select 密码 from user where 用户='admin'") == [("admin",)]

        change_password(app, "admin", NEW_PASSWORD, NEW_PASSWORD)
        answer_message(app, "密码修改成功！ 新密码为『%s』" % NEW_PASSWORD, "确定")
        wait_for(lambda: not find(app, description="PasswordWindow"), what="the window to close")
        assert_still_running(program, app)

        # 退出 on the toolbar ends the program; after a restart only the new password works.
        press(wait_for(lambda: find(main_window, description="工具条1_9"), what="退出"))
        wait_for(lambda: program.poll() is not None, what="the program to end")
        program, app = run.start()
        log_in(app, "admin", "admin")
        answer_message(app, "密码错误", "确定")
        log_in(app, "admin", NEW_PASSWORD)
        wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
