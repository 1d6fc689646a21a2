#!/usr/bin/python3
"""Drives the real program over the accessibility bus: a wrong password is refused with its
message, the right one opens the main window. Run by run_atspi.sh inside a private X server
and D-Bus session."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi


def wait_for(predicate, timeout=20.0, what="condition"):
    end = time.time() + timeout
    while time.time() < end:
        found = predicate()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError("timed out waiting for " + what)


def find(root, description=None, role=None, name=None):
    """First descendant whose accessible description (our objectName) / role / name match."""
    def match(node):
        try:
            if description is not None and node.description != description:
                return False
            if role is not None and node.getRole() != role:
                return False
            if name is not None and node.name != name:
                return False
            return True
        except Exception:
            return False
    return pyatspi.findDescendant(root, match, True)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def type_into(node, text):
    editable = node.queryEditableText()
    editable.setTextContents(text)


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "click", "Press"):
            action.doAction(i)
            return
    action.doAction(0)


def main():
    binary = sys.argv[1]
    home = tempfile.mkdtemp(prefix="morvane-atspi-")
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", MORVANE_AUTOMATION_IDS="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1")
    program = subprocess.Popen([binary, "--home", home], env=env)
    try:
        app = wait_for(lambda: application(program.pid), what="the program on the bus")
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
    finally:
        program.terminate()
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
