#!/usr/bin/python3
"""Drives the real program over the accessibility bus: a wrong password is refused with its
message, the right one opens the main window. Run by run_atspi.sh inside a private X server
and D-Bus session."""

import sys

import pyatspi

from atspi_support import ProgramRun, find, press, type_into, wait_for


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        home = run.home
        program, app = run.start()
        user = wait_for(lambda: find(app, description="用户_组合框"), what="用户_组合框")
        password = wait_for(lambda: find(app, description="编辑框2"), what="编辑框2")
        login = wait_for(lambda: find(app, description="按钮2"), what="按钮2")

        editable_user = find(user, role=pyatspi.ROLE_TEXT) or user
        type_into(editable_user, "admin")
        type_into(password, "wrong")
        press(login)
        dialog = wait_for(lambda: find(app, role=pyatspi.ROLE_DIALOG) or
                          find(app, role=pyatspi.ROLE_ALERT), what="the refusal message")
        message = wait_for(lambda: find(dialog, role=pyatspi.ROLE_LABEL, name="密码错误"),
                           what="the text 密码错误")
        assert message is not None
        ok = wait_for(lambda: find(dialog, role=pyatspi.ROLE_PUSH_BUTTON), what="OK button")
        press(ok)
        wait_for(lambda: not (find(app, role=pyatspi.ROLE_DIALOG) or
                              find(app, role=pyatspi.ROLE_ALERT)), what="the message to close")

        type_into(password, "admin")
        press(login)
        main_window = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        wait_for(lambda: find(main_window, description="工具条1_2"), what="toolbar button 工具条1_2")
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
