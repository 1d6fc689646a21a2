#!/usr/bin/python3
"""Previews a stored receipt over the accessibility bus with real dialogs: a damaged form
template in the data directory is reported (and nothing is previewed), then, with the user's
template gone, 预览 opens the preview "打印预览" on the built-in form, whose 导出PDF writes the
receipt as a PDF through the real save dialog; it closes and the program keeps running with its
data as it was."""

import os
import subprocess
import sys

import pyatspi

from atspi_support import (ProgramRun, answer_message, assert_still_running, clear_and_type, click,
                           count_rows, find, find_button, log_in, open_dialog, wait_for)


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        home = run.home
        program, app = run.start("--demo")
        log_in(app, "admin", "admin")
        main_window = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        lines = count_rows(home, "yclnote")
        assert count_rows(home, "ycldate", "出入='入'") > 0, "the demo data has no receipt"

        click(wait_for(lambda: find(main_window, description="工具条1_0"), what="采购入库"))
        number = wait_for(lambda: find(main_window, description="编辑框_单号入库"),
                          what="编辑框_单号入库")
        wait_for(lambda: number.queryText().getText(0, -1).strip(), what="the latest receipt")
        preview_button = wait_for(lambda: find(main_window, description="辅_工具条_1"),
                                  what="预览")

        # A damaged template of the user's own is reported, not printed over.
        template = os.path.join(home, "rk.gjbg")
        with open(template, "w", encoding="utf-8") as f:
            f.write("{ damaged")
        click(preview_button)
        answer_message(app, "找不到打印模板" + template, "确定")
        assert not find(app, description="PreviewFrame"), "a preview opened on a damaged form"
        assert_still_running(program, app)

        # Without it the built-in form is previewed.
        os.remove(template)
        click(preview_button)
        preview = wait_for(lambda: find(app, description="PreviewFrame") or
                           find(app, name="打印预览", role=pyatspi.ROLE_DIALOG),
                           what="the preview 打印预览")
        assert preview.name == "打印预览", preview.name

        # 导出PDF, the name typed in the real save dialog: the whole PDF is put in place, with
        # the receipt's number in it, and nothing is left beside it.
        click(wait_for(lambda: find(preview, role=pyatspi.ROLE_PUSH_BUTTON, name="导出PDF"),
                       what="导出PDF in the preview"))
        name = wait_for(lambda: find(app, description="fileNameEdit"), what="the save dialog")
        dialog = name
        while dialog.getRole() not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME):
            dialog = dialog.parent
        target = os.path.join(home, "receipt.pdf")
        clear_and_type(name, target)
        click(find_button(dialog, "保存", "Save"))
        wait_for(lambda: os.path.exists(target), what="the PDF")
        shown = number.queryText().getText(0, -1).strip()
        text = wait_for(lambda: subprocess.run(["pdftotext", target, "-"], capture_output=True,
                                               text=True).stdout, what="the PDF's text")
        assert shown in text, (shown, text)
        assert [name for name in os.listdir(home) if name.startswith("receipt.pdf")] == \
            ["receipt.pdf"]
        assert_still_running(program, app)

        click(wait_for(lambda: find(preview, role=pyatspi.ROLE_PUSH_BUTTON, name="关闭"),
                       what="关闭 in the preview"))
        wait_for(lambda: not find(app, description="PreviewFrame"), what="the preview to close")
        assert not open_dialog(app), "a dialog is left open"
        assert_still_running(program, app)
        assert count_rows(home, "yclnote") == lines, "printing changed the data"
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
