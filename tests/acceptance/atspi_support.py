"""Shared helpers for the acceptance scripts that drive the real program over the
accessibility bus (every widget publishes its objectName as its accessible description)."""

import ctypes
import ctypes.util
import os
import shutil
import sqlite3
import subprocess
import tempfile
import time

import pyatspi
from gi.repository import GLib


def wait_for(predicate, timeout=20.0, what="condition"):
    end = time.time() + timeout
    while time.time() < end:
        found = predicate()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError("timed out waiting for " + what)


ITEM_ROLES = (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TREE_ITEM)


def _manages_descendants(node):
    try:
        return node.getState().contains(pyatspi.STATE_MANAGES_DESCENDANTS)
    except Exception:
        return False


def _children(node):
    """The children still there: one gone meanwhile reads as None, a node gone as an error."""
    try:
        return [child for child in node if child is not None]
    except Exception:
        return []


def _accepts(match, node):
    try:
        return match(node)
    except Exception:
        return False


def search(root, match, into_lists=False):
    """First descendant that MATCH accepts: each node's children are tried before their own
    children (as pyatspi.findDescendant with breadth_first does). A list or table manages its
    descendants: its rows are read through its table interface, and walking them one by one
    costs a round trip per cell (a 5,000-row list holds 40,000 cells), so they are searched
    only when INTO_LISTS is set."""
    children = _children(root)
    for child in children:
        if _accepts(match, child):
            return child
    for child in children:
        if not into_lists and _manages_descendants(child):
            continue
        found = search(child, match, into_lists)
        if found is not None:
            return found
    return None


def find_all(root, match):
    """Every descendant that MATCH accepts, lists and tables not walked into (see search).
    Unlike pyatspi.findAllDescendants it passes over a child that went away meanwhile, as
    the rows of a file dialog's folder view do while the folder is read."""
    found = []
    for child in _children(root):
        if _accepts(match, child):
            found.append(child)
        if not _manages_descendants(child):
            found.extend(find_all(child, match))
    return found


def find(root, description=None, role=None, name=None, into_lists=False):
    """First descendant whose accessible description (our objectName) / role / name match.
    Cells and items of lists are searched only when ROLE is theirs or INTO_LISTS is set."""
    def match(node):
        if description is not None and node.description != description:
            return False
        if role is not None and node.getRole() != role:
            return False
        if name is not None and node.name != name:
            return False
        return True
    return search(root, match, into_lists or role in ITEM_ROLES)


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
    """Presses NODE. A button whose click opens a modal dialog answers the bus only once the
    dialog has closed; the missing reply then means "pressed", the dialog is on the bus."""
    action = node.queryAction()
    index = 0
    for i in range(action.nActions):
        if action.getName(i) in ("press", "click", "Press"):
            index = i
            break
    try:
        action.doAction(index)
    except GLib.GError as error:
        if "Did not receive a reply" not in str(error):
            raise


KEY_DOWN = 0xff54
KEY_ESCAPE = 0xff1b
KEY_RETURN = 0xff0d
KEY_SPACE = 0x0020
KEY_TAB = 0xff09


def press_keys(*keysyms):
    """Sends key strokes to the window that has the keyboard (e.g. a pop-up menu, which is
    not on the bus as an accessible object)."""
    for keysym in keysyms:
        pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
        time.sleep(0.3)


def _keycodes(x11, display, wanted):
    """The key codes of the keys whose first two symbols are WANTED's pairs: a letter's own key,
    not a spare key that typing a string has remapped to the same symbol."""
    low, high = ctypes.c_int(), ctypes.c_int()
    x11.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
    count = high.value - low.value + 1
    per = ctypes.c_int()
    x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
    symbols = x11.XGetKeyboardMapping(display, ctypes.c_ubyte(low.value), count,
                                      ctypes.byref(per))
    found = {}
    for i in range(count):
        pair = (symbols[i * per.value], symbols[i * per.value + 1])
        for name, symbol_pair in wanted.items():
            if pair == symbol_pair and name not in found:
                found[name] = low.value + i
    x11.XFree(symbols)
    return found


def press_with_control(letter):
    """Ctrl and a letter's key, as a shortcut is pressed, both by their key codes: a key sent
    by its symbol goes with only the modifiers the symbol needs."""
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(x11.XOpenDisplay(None))
    codes = _keycodes(x11, display, {"ctrl": (0xffe3, 0), "key": (ord(letter), ord(letter.upper()))})
    x11.XCloseDisplay(display)
    pyatspi.Registry.generateKeyboardEvent(codes["ctrl"], None, pyatspi.KEY_PRESS)
    pyatspi.Registry.generateKeyboardEvent(codes["key"], None, pyatspi.KEY_PRESSRELEASE)
    pyatspi.Registry.generateKeyboardEvent(codes["ctrl"], None, pyatspi.KEY_RELEASE)
    time.sleep(0.3)


def program_environment():
    return dict(os.environ, QT_QPA_PLATFORM="xcb", MORVANE_AUTOMATION_IDS="1",
                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")


def start_program(binary, home, *arguments):
    """Starts the program on the data directory HOME; returns the process. A start that dies
    by a signal within its first seconds (the display refusing the connection, as a freshly
    started X server now and then does) is tried again; ending by itself is the program's own
    answer and is returned as it is."""
    for _ in range(5):
        program = subprocess.Popen([binary, "--home", home, *arguments],
                                   env=program_environment())
        try:
            code = program.wait(timeout=3)
        except subprocess.TimeoutExpired:
            return program
        if code >= 0:
            return program
        time.sleep(1)
    return program


def stop_program(program):
    if program.poll() is None:
        program.terminate()
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()


class ProgramRun:
    """The runs of the program in one script, on one fresh data directory (home) with the
    per-user settings (XDG_CONFIG_HOME) in a directory beside it (config), so no run sees
    another's. Used as `with ProgramRun(binary) as run:`; every program started through it is
    stopped and both directories removed when the block ends, however it ends."""

    def __init__(self, binary, sample=None):
        """SAMPLE: an Access file copied in as the data directory's db.mdb."""
        self.binary = binary
        self.root = tempfile.mkdtemp(prefix="morvane-atspi-")
        self.home = os.path.join(self.root, "home")
        self.config = os.path.join(self.root, "config")
        os.mkdir(self.home)
        os.environ["XDG_CONFIG_HOME"] = self.config
        self.programs = []
        if sample:
            shutil.copyfile(sample, os.path.join(self.home, "db.mdb"))

    def start(self, *arguments):
        """Starts the program on the data directory; returns it and its application on the
        accessibility bus, once it is there."""
        program = start_program(self.binary, self.home, *arguments)
        self.programs.append(program)
        app = wait_for(lambda: application(program.pid), what="the program on the bus")
        return program, app

    def stop(self):
        """Stops every program started so far."""
        for program in self.programs:
            stop_program(program)
        self.programs = []

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.stop()
        shutil.rmtree(self.root, ignore_errors=True)
        return False


def dialogs(app):
    """The message boxes, questions and dialogs the program shows now. Dialogs are top-level
    windows, so only those are looked at (walking every list cell is slow). A dialog kept
    hidden for its next use (the save dialog) stays on the bus, but not showing."""
    try:
        return [window for window in app if window is not None and
                window.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT) and
                window.getState().contains(pyatspi.STATE_SHOWING)]
    except Exception:
        return []


def open_dialog(app):
    """The first dialog the program shows now, if any."""
    found = dialogs(app)
    return found[0] if found else None


def message_box(app, text):
    """The open dialog that shows the text TEXT, if any."""
    for dialog in dialogs(app):
        if find(dialog, role=pyatspi.ROLE_LABEL, name=text):
            return dialog
    return None


def answer_message(app, text, button):
    """Waits for a message box showing TEXT, presses its button BUTTON and waits for it to go."""
    dialog = wait_for(lambda: message_box(app, text), what="the message " + text)
    press(wait_for(lambda: find(dialog, role=pyatspi.ROLE_PUSH_BUTTON, name=button),
                   what="the button " + button))
    wait_for(lambda: not message_box(app, text), what="the message " + text + " to close")


def log_in(app, user, password):
    """Types USER and PASSWORD into the login window and presses 登录."""
    box = wait_for(lambda: find(app, description="用户_组合框"), what="用户_组合框")
    type_into(find(box, role=pyatspi.ROLE_TEXT) or box, user)
    type_into(wait_for(lambda: find(app, description="编辑框2"), what="编辑框2"), password)
    press(wait_for(lambda: find(app, description="按钮2"), what="按钮2"))


def assert_still_running(program, app, window="MainWindow"):
    """The program has not ended and WINDOW is still on the bus."""
    time.sleep(1.0)  # an unwanted quit happens as soon as the last dialog has closed
    assert program.poll() is None, "the program ended (status %s)" % program.returncode
    wait_for(lambda: find(app, description=window), what=window + " still on the bus")


def execute(home, statement):
    """Runs STATEMENT on the database of the data directory HOME; returns the rows it gives."""
    connection = sqlite3.connect(os.path.join(home, "db.mdb"))
    try:
        with connection:
            return connection.execute(statement).fetchall()
    finally:
        connection.close()


def count_rows(home, table, where="1=1"):
    """Rows of TABLE in the database of the data directory HOME."""
    return execute(home, "select count(*) from %s where %s" % (table, where))[0][0]


def find_button(root, *captions):
    """First push button whose caption, without its "(&X)" accelerator, is one of captions."""
    def match(node):
        try:
            if node.getRole() != pyatspi.ROLE_PUSH_BUTTON:
                return False
            return node.name.split("(")[0].replace("&", "").strip() in captions
        except Exception:
            return False
    return search(root, match)


def answer_dialog(app, what, *captions):
    """Waits for a dialog, presses its button named one of CAPTIONS and waits for it to go.
    Returns the texts of the dialog's labels."""
    dialog = wait_for(lambda: open_dialog(app), what=what)
    labels = [node.name for node in find_all(dialog, lambda n: n.getRole() == pyatspi.ROLE_LABEL)]
    press(wait_for(lambda: find_button(dialog, *captions),
                   what=what + " button " + "/".join(captions)))
    # The next dialog may open at once: wait for this one to go, not for none at all.
    wait_for(lambda: open_dialog(app) != dialog, what=what + " to close")
    return labels


def read_message(app, button=None):
    """Waits for a message box, clicks its button named BUTTON (the first one when None),
    waits for the box to close and returns its text (the labels, one per line)."""
    dialog = wait_for(lambda: open_dialog(app), what="a message box")
    labels = find_all(dialog, lambda n: n.getRole() == pyatspi.ROLE_LABEL and bool(n.name))
    text = "\n".join(label.name for label in labels)
    buttons = find_all(dialog, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
    chosen = [b for b in buttons
              if button is None or b.name.replace("&", "").startswith(button)]
    assert chosen, "no button %r in %r" % (button, [b.name for b in buttons])
    click(chosen[0])
    wait_for(lambda: not open_dialog(app), what="the message box to close")
    return text


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def click(node, event="b1c"):
    """A real left click (EVENT "b1d": a double click, "b5c": the wheel turned down) in the
    middle of NODE (X test events); returns at once even when the click opens a modal dialog."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, event)
    time.sleep(0.3)


def is_showing(node):
    return node is not None and node.getState().contains(pyatspi.STATE_SHOWING)


def type_keys(text, enter=True):
    """Types TEXT on the keyboard into the focused widget, then Return."""
    for ch in text:
        pyatspi.Registry.generateKeyboardEvent(0, ch, pyatspi.KEY_STRING)
        time.sleep(0.05)
    if enter:
        pyatspi.Registry.generateKeyboardEvent(KEY_RETURN, None, pyatspi.KEY_SYM)
    time.sleep(0.3)


def set_grid_cell(grid, row, column, text):
    """Clicks the cell of a document grid and types TEXT into it."""
    cell = wait_for(lambda: grid.queryTable().getAccessibleAt(row, column),
                    what="cell %d,%d" % (row, column))
    click(cell)
    type_keys(text)


def find_label_containing(root, fragment):
    def match(node):
        try:
            return node.getRole() == pyatspi.ROLE_LABEL and fragment in node.name
        except Exception:
            return False
    return search(root, match)


def press_button_named(root, *prefixes):
    """Presses the first push button whose name starts with one of PREFIXES (是, Yes, ...)."""
    def match(node):
        try:
            return (node.getRole() == pyatspi.ROLE_PUSH_BUTTON and
                    any(node.name.startswith(p) for p in prefixes))
        except Exception:
            return False
    button = wait_for(lambda: search(root, match),
                      what="a button named " + "/".join(prefixes))
    press(button)


KEY_END = 0xff57
KEY_BACKSPACE = 0xff08


def type_text(text):
    """Types TEXT on the keyboard as a person does, without Return. A Chinese character needs
    a spare key remapped by X, so it is given more time than a Latin one."""
    for ch in text:
        pyatspi.Registry.generateKeyboardEvent(0, ch, pyatspi.KEY_STRING)
        time.sleep(0.2 if ord(ch) > 0x7f else 0.06)
    time.sleep(0.3)


def right_click(node):
    """A real right click in the middle of NODE."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, "b3c")
    time.sleep(0.5)


def grid_cell(grid, row, column):
    return wait_for(lambda: grid.queryTable().getAccessibleAt(row, column),
                    what="cell %d,%d" % (row, column))


def type_in_cell(grid, row, column, text):
    """Clicks the grid cell with the mouse and types TEXT into it, leaving the editor open."""
    click(grid_cell(grid, row, column))
    type_text(text)


def clear_and_type(node, text, length=None):
    """Clicks into the edit box NODE, empties it with the keyboard and types TEXT. A password
    box does not tell its text: LENGTH, when given, is at least the length of what it holds."""
    click(node)
    press_keys(KEY_END)
    for _ in range((len(text_of(node)) if length is None else length) + 1):
        pyatspi.Registry.generateKeyboardEvent(KEY_BACKSPACE, None, pyatspi.KEY_SYM)
        time.sleep(0.05)
    type_text(text)


def toolbar_button(main, bar, index):
    return wait_for(lambda: find(main, description="%s_%d" % (bar, index)),
                    what="%s_%d" % (bar, index))


def is_enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def combo_text(main, name):
    """The text of the editable combo box NAME."""
    box = wait_for(lambda: find(main, description=name), what=name)
    return text_of(find(box, role=pyatspi.ROLE_TEXT) or box)
