#!/usr/bin/python3
"""Prints the stock list over the accessibility bus with real dialogs: a refused header, a
custom column added through the formula window and chosen for the statistics row with the
mouse, the page-width question answered Cancel
(the settings come back) and then OK (the preview "打印预览" opens and closes), 预览
leading to the same settings, 打印 on the month summary previewing the summary headed by its
period, 打印 on an item's records headed by the item, and the
program keeps running with its data and the saved-settings flag where they belong."""

import glob
import json
import os
import sqlite3
import sys

import pyatspi

from atspi_support import (KEY_BACKSPACE, KEY_ESCAPE, KEY_SPACE, ProgramRun, click, find, is_showing,
                           press, press_keys,
                           text_of, type_into, type_text, wait_for)


def answer(app, text, buttons):
    """Waits for the message box showing text and presses the first button named in buttons."""
    label = wait_for(lambda: find(app, role=pyatspi.ROLE_LABEL, name=text), what="the text " + text)
    box = label
    while box is not None and box.getRole() not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT):
        box = box.parent
    assert box is not None, "no message box around " + text
    button = wait_for(lambda: next((b for b in (find(box, role=pyatspi.ROLE_PUSH_BUTTON, name=n)
                                                for n in buttons) if b), None),
                      what="button " + "/".join(buttons))
    press(button)
    wait_for(lambda: not find(app, role=pyatspi.ROLE_LABEL, name=text),
             what="the message to close")


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        home = run.home
        program, app = run.start("--demo")
        user = wait_for(lambda: find(app, description="用户_组合框"), what="用户_组合框")
        type_into(find(user, role=pyatspi.ROLE_TEXT) or user, "admin")
        type_into(wait_for(lambda: find(app, description="编辑框2"), what="编辑框2"), "admin")
        press(find(app, description="按钮2"))
        main_window = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        press(wait_for(lambda: find(main_window, description="工具条1_2"), what="库存明细"))
        press(wait_for(lambda: find(main_window, description="辅_工具条_0"), what="打印"))

        settings = wait_for(lambda: find(app, description="PrintSettingsWindow"),
                            what="PrintSettingsWindow")
        header = wait_for(lambda: find(settings, description="页眉"), what="页眉")
        # Typed and clicked as a clerk does; after the refusal the header's text is selected,
        # so one Backspace clears it.
        click(header)
        type_text("a|b|c|d")
        preview_button = find(settings, description="打印预览")
        click(preview_button)
        answer(app, "页眉中设置的“|”不能多于3个！", ["确定", "OK"])
        press_keys(KEY_BACKSPACE)
        wait_for(lambda: text_of(header) == "", what="the header cleared by one Backspace")

        click(wait_for(lambda: find(settings, role=pyatspi.ROLE_PAGE_TAB, name="行列设置"),
                       what="page 行列设置"))
        # One print column unticked with the mouse and the space bar unticks 全选; a click on
        # 全选 then ticks every column again.
        shown = wait_for(lambda: find(settings, description="显示列表框"), what="显示列表框")
        remark = wait_for(lambda: find(shown, name="备注", into_lists=True), what="备注")
        select_all = find(settings, description="打印列全选")
        click(remark)
        press_keys(KEY_SPACE)
        wait_for(lambda: not remark.getState().contains(pyatspi.STATE_CHECKED), what="备注 unticked")
        wait_for(lambda: not select_all.getState().contains(pyatspi.STATE_CHECKED),
                 what="全选 unticked with it")
        click(select_all)
        wait_for(lambda: remark.getState().contains(pyatspi.STATE_CHECKED), what="备注 ticked by 全选")
        click(wait_for(lambda: find(settings, description="添加"), what="添加"))
        formula = wait_for(lambda: find(app, description="FormulaWindow"), what="FormulaWindow")
        click(find(formula, description="新列名编辑框"))
        type_text("双倍")
        # A click anywhere on 相关计算列 opens its list; the column picked goes into the formula.
        click(find(formula, description="列内容"))
        picked = wait_for(lambda: find(formula, name="现存量", into_lists=True), what="现存量")
        wait_for(lambda: is_showing(picked), what="the list of 相关计算列 open")
        click(picked)
        formula_box = find(formula, description="公式编辑框")
        wait_for(lambda: text_of(formula_box) == "[现存量]", what="[现存量] in the formula")
        type_text("*2")
        click(find(formula, description="确定"))
        wait_for(lambda: not find(app, description="FormulaWindow"), what="FormulaWindow to close")
        wait_for(lambda: find(settings, name="双倍", into_lists=True),
                 what="the custom column in the list")

        # The statistics column is chosen with the mouse: 打印统计 clicked, the list of
        # statistics columns scrolled by the wheel to the custom column, its row clicked and
        # ticked with the space bar. The list lies on the group box 合计/统计行 without being
        # its child; it must still take the clicks.
        press(wait_for(lambda: find(settings, role=pyatspi.ROLE_PAGE_TAB, name="统计/颜色"),
                       what="page 统计/颜色"))
        click(wait_for(lambda: find(settings, description="打统计"), what="打统计"))
        columns = wait_for(lambda: find(settings, description="统计列表框"), what="统计列表框")
        wait_for(lambda: columns.getState().contains(pyatspi.STATE_ENABLED),
                 what="统计列表框 enabled")
        item = wait_for(lambda: find(columns, name="双倍", into_lists=True), what="双倍 in 统计列表框")
        for _ in range(5):
            click(columns, "b5c")  # the wheel, turned down over the list
        click(item)
        wait_for(lambda: item.getState().contains(pyatspi.STATE_SELECTED),
                 what="双倍 selected by the click")
        press_keys(KEY_SPACE)
        wait_for(lambda: item.getState().contains(pyatspi.STATE_CHECKED), what="双倍 ticked")

        # The stock list is wider than A4: Cancel brings the settings back, OK previews.
        press(preview_button)
        answer(app, "列宽超过了设定纸张的宽度，确定将进行缩放打印，取消重新设置合适的纸张！",
               ["取消", "Cancel"])
        wait_for(lambda: find(app, description="PrintSettingsWindow"), what="the settings again")
        # They come back on their first page; the statistics column stays ticked on its own.
        press(wait_for(lambda: find(settings, role=pyatspi.ROLE_PAGE_TAB, name="统计/颜色"),
                       what="page 统计/颜色 again"))
        wait_for(lambda: (lambda i: i is not None and i.getState().contains(
            pyatspi.STATE_CHECKED))(find(columns, name="双倍", into_lists=True)),
                 what="双倍 still ticked")
        press(preview_button)
        answer(app, "列宽超过了设定纸张的宽度，确定将进行缩放打印，取消重新设置合适的纸张！",
               ["确定", "OK"])
        preview = wait_for(lambda: find(app, name="打印预览", role=pyatspi.ROLE_DIALOG) or
                           find(app, description="PreviewFrame"), what="the preview 打印预览")
        # 关闭 is on the preview's toolbar, not behind its extension button: a mouse click.
        close = wait_for(lambda: find(preview, role=pyatspi.ROLE_PUSH_BUTTON, name="关闭"),
                         what="关闭 in the preview")
        click(close)
        wait_for(lambda: not find(app, description="PreviewFrame"), what="the preview to close")
        assert not find(app, description="PrintSettingsWindow"), "settings window left open"
        wait_for(lambda: find(main_window, description="超级列表框1"), what="the stock list")
        assert program.poll() is None, "the program ended"

        # Opened again, by 预览 this time, the settings window closes with Escape, as with 取消.
        click(wait_for(lambda: find(main_window, description="辅_工具条_1"), what="预览"))
        settings = wait_for(lambda: find(app, description="PrintSettingsWindow"),
                            what="PrintSettingsWindow")
        click(wait_for(lambda: find(settings, description="标题"), what="标题"))
        press_keys(KEY_ESCAPE)
        wait_for(lambda: not find(app, description="PrintSettingsWindow"),
                 what="the settings window to close on Escape")
        assert program.poll() is None, "the program ended"

        # 打印 on the month summary opens the print module on the summary's columns; its
        # preview opens and closes.
        click(wait_for(lambda: find(main_window, description="辅_工具条_12"), what="统计"))
        wait_for(lambda: is_showing(find(main_window, description="超级列表框3")),
                 what="the summary")
        click(find(main_window, description="辅_工具条_0"))
        settings = wait_for(lambda: find(app, description="PrintSettingsWindow"),
                            what="the summary's PrintSettingsWindow")
        wait_for(lambda: find(settings, name="本月出库", into_lists=True),
                 what="the summary's columns")
        title = find(settings, description="标题")
        assert text_of(title).startswith("月度汇总（") and " 至 " in text_of(title), text_of(title)
        click(find(settings, description="打印预览"))
        answer(app, "列宽超过了设定纸张的宽度，确定将进行缩放打印，取消重新设置合适的纸张！",
               ["确定", "OK"])
        preview = wait_for(lambda: find(app, description="PreviewFrame"), what="the summary preview")
        click(wait_for(lambda: find(preview, role=pyatspi.ROLE_PUSH_BUTTON, name="关闭"),
                       what="关闭 in the preview"))
        wait_for(lambda: not find(app, description="PreviewFrame"), what="the preview to close")
        assert program.poll() is None, "the program ended"

        # The records of an item, double-clicked in the stock list, print headed by the item.
        click(wait_for(lambda: find(main_window, description="工具条1_2"), what="库存明细"))
        stock = wait_for(lambda: find(main_window, description="超级列表框1"), what="the stock list")
        click(stock.queryTable().getAccessibleAt(0, 2), "b1d")
        records = wait_for(lambda: find(main_window, description="超级列表框2"), what="records")
        wait_for(lambda: is_showing(records) and records.queryTable().nRows > 0, what="records")
        click(find(main_window, description="辅_工具条_0"))
        settings = wait_for(lambda: find(app, description="PrintSettingsWindow"),
                            what="the records' PrintSettingsWindow")
        title = wait_for(lambda: find(settings, description="标题"), what="标题")
        heading = find(main_window, description="标签5").name
        assert text_of(title) == heading and heading.endswith("出入库记录"), (text_of(title), heading)
        click(title)
        press_keys(KEY_ESCAPE)
        wait_for(lambda: not find(app, description="PrintSettingsWindow"), what="settings closed")
        assert program.poll() is None, "the program ended"

        # The first preview saved nothing: "ID" is 0. The data is untouched.
        stores = glob.glob(os.path.join(run.config, "**", "registry.json"), recursive=True)
        assert stores, "no settings store written"
        with open(stores[0], encoding="utf-8") as f:
            key = json.load(f)["software\\打印设置"]
        assert key["ID"] == {"type": "REG_DWORD", "data": 0}, key["ID"]
        db = sqlite3.connect(os.path.join(home, "db.mdb"))
        assert db.execute("PRAGMA integrity_check").fetchone()[0] == "ok"
        assert db.execute("SELECT count(*) FROM yclnote").fetchone()[0] > 0
        db.close()
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
