#!/usr/bin/python3
"""Makes the README's screenshots: starts the program on a new demo data set, drives it over
the accessibility bus and captures the login window, the stock list, a receipt, the monthly
summary, the print settings window and a page of the print preview. Run by scripts/screenshots
inside a private X server and D-Bus session; writes <name>.png into $MORVANE_SCREENSHOTS."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "acceptance"))
import pyatspi  # noqa: E402

from atspi_support import (answer_dialog, application, find, press,  # noqa: E402
                           start_program, stop_program, type_into, wait_for)

OUTPUT = os.environ["MORVANE_SCREENSHOTS"]


def capture(node, name):
    """Writes what NODE (a window) shows on the screen into OUTPUT/NAME.png."""
    time.sleep(1.5)  # let the window finish painting
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    path = os.path.join(OUTPUT, name + ".png")
    subprocess.run(["import", "-window", "root", "-crop",
                    "%dx%d+%d+%d" % (box.width, box.height, box.x, box.y), "+repage", path],
                   check=True)
    print("captured", path, "%dx%d" % (box.width, box.height))


def rows(node):
    return node.queryTable().nRows


def main():
    binary = sys.argv[1]
    home = tempfile.mkdtemp(prefix="morvane-screens-")
    os.environ["XDG_CONFIG_HOME"] = os.path.join(home, "config")
    program = start_program(binary, home, "--demo")
    try:
        app = wait_for(lambda: application(program.pid), what="the program on the bus")
        login = wait_for(lambda: find(app, description="LoginWindow"), what="LoginWindow")
        user = wait_for(lambda: find(login, description="用户_组合框"), what="用户_组合框")
        type_into(find(user, role=pyatspi.ROLE_TEXT) or user, "admin")
        capture(login, "login")
        type_into(find(login, description="编辑框2"), "admin")
        press(find(login, description="按钮2"))

        main_window = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        press(wait_for(lambda: find(main_window, description="工具条1_2"), what="库存明细"))
        stock = wait_for(lambda: find(main_window, description="超级列表框1"), what="the stock")
        wait_for(lambda: rows(stock) > 0, what="stock rows")
        capture(main_window, "stock")

        press(find(main_window, description="工具条1_0"))
        receipt = wait_for(lambda: find(main_window, description="显示数据"), what="显示数据")
        wait_for(lambda: rows(receipt) > 1, what="the receipt's lines")
        capture(main_window, "receipt")

        press(find(main_window, description="工具条1_2"))
        press(wait_for(lambda: find(main_window, description="辅_工具条_12"), what="统计"))
        monthly = wait_for(lambda: find(main_window, description="超级列表框3"), what="monthly")
        wait_for(lambda: rows(monthly) > 0, what="summary rows")
        capture(main_window, "monthly")

        press(find(main_window, description="工具条1_2"))
        press(wait_for(lambda: find(main_window, description="辅_工具条_0"), what="打印"))
        settings = wait_for(lambda: find(app, description="PrintSettingsWindow"),
                            what="PrintSettingsWindow")
        type_into(wait_for(lambda: find(settings, description="标题"), what="标题"),
                  "原材料库存表")
        capture(settings, "printsettings")

        # The stock list is wider than A4 upright: 确定 scales it onto the page.
        press(find(settings, description="打印预览"))
        answer_dialog(app, "the question on the page width", "确定", "OK")
        preview = wait_for(lambda: find(app, name="打印预览", role=pyatspi.ROLE_DIALOG) or
                           find(app, description="PreviewFrame"), what="the preview 打印预览")
        # The dialog opens small; made larger, it fits the page into its new size.
        subprocess.run(["xdotool", "search", "--sync", "--name", "^打印预览$",
                        "windowsize", "%@", "1000", "760"], check=True)
        capture(preview, "preview")
        press(wait_for(lambda: find(preview, role=pyatspi.ROLE_PUSH_BUTTON, name="关闭"),
                       what="关闭 in the preview"))
    finally:
        stop_program(program)
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
