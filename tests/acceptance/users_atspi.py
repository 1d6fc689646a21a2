#!/usr/bin/python3
"""The administrator adds a clerk in 用户管理, answering its real message boxes; after a
restart the clerk logs in with the password as typed and finds 用户管理 disabled. Run by
run_atspi.sh inside a private X server and D-Bus session."""

import shutil
import sys
import tempfile

import pyatspi

from atspi_support import (answer_message, application, assert_still_running, execute, find,
                           log_in, press, start_program, stop_program, type_into, wait_for)

CLERK = "李四"
PASSWORD = "pw'1,a=b"


def enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def start_and_log_in(binary, home, user, password):
    program = start_program(binary, home)
    app = wait_for(lambda: application(program.pid), what="the program on the bus")
    log_in(app, user, password)
    main_window = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
    return program, app, main_window


def end_program(program, main_window):
    press(wait_for(lambda: find(main_window, description="工具条1_9"), what="退出"))
    wait_for(lambda: program.poll() is not None, what="the program to end")


def add_clerk(home, program, app, main_window):
    item = wait_for(lambda: find(main_window, description="用户_用户管理"), what="用户管理")
    assert enabled(item), "用户管理 is disabled for the administrator"
    press(item)
    window = wait_for(lambda: find(app, description="UserManagementWindow"), what="用户管理 window")
    field = lambda name: wait_for(lambda: find(window, description=name), what=name)
    type_into(field("编辑框_用户名"), CLERK)
    type_into(field("编辑框_密码"), PASSWORD)
    type_into(field("编辑框_密码确认"), PASSWORD + "x")
    press(field("按钮_添加"))
    answer_message(app, "2次密码不一致，请重新输入！", "确定")
    assert execute(home, "select count(*) from user")[0][0] == 1, "a refused account was stored"

    type_into(field("编辑框_密码确认"), PASSWORD)
    press(field("按钮_添加"))
    answer_message(app, "已添加用户『%s』。" % CLERK, "确定")
    assert_still_running(program, app, "UserManagementWindow")
    press(field("按钮_退出"))
    wait_for(lambda: not find(app, description="UserManagementWindow"), what="the window to close")
    assert_still_running(program, app)


def main():
    binary = sys.argv[1]
    home = tempfile.mkdtemp(prefix="morvane-atspi-")
    program = None
    try:
        program, app, main_window = start_and_log_in(binary, home, "admin", "admin")
        add_clerk(home, program, app, main_window)
        rows = execute(home, "select 编号, 用户, 密码, ycl审核, 数据操作 from user order by 编号")
        assert rows[1:] == [(2, CLERK, PASSWORD, "", "")], rows
        end_program(program, main_window)

        program, app, main_window = start_and_log_in(binary, home, CLERK, PASSWORD)
        item = wait_for(lambda: find(main_window, description="用户_用户管理"), what="用户管理")
        assert not enabled(item), "用户管理 is enabled for a clerk"
        end_program(program, main_window)
        print("1 passed, 0 failed")
    finally:
        if program is not None:
            stop_program(program)
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
