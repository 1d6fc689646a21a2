"""Shared helpers for the acceptance scripts that drive the real program over the
accessibility bus (every widget publishes its objectName as its accessible description)."""

import os
import subprocess
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


def program_environment():
    return dict(os.environ, QT_QPA_PLATFORM="xcb", MORVANE_AUTOMATION_IDS="1",
                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")


def start_program(binary, home, *arguments):
    """Starts the program on the data directory HOME; returns the process."""
    return subprocess.Popen([binary, "--home", home, *arguments], env=program_environment())


def stop_program(program):
    if program.poll() is None:
        program.terminate()
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
