#!/usr/bin/python3
"""A receipt typed and clicked as a clerk does, on the real program: the mouse clicks the
cells and the toolbar, the keyboard types, and nothing is confirmed with Return before a
toolbar button is clicked. A supplier and an item that start like known ones keep what was
typed; Tab leads from the supplier to the category and the first line; a cell clicked again
right after it was typed takes its correction; neither the mouse wheel nor Down changes a typed value; a new receipt is dated today; the last remark typed is saved; Tab past a line's last cell starts the next line, typed by the keyboard alone; a modification typed last is stored; paging away from
a modification asks and carries nothing over; a number typed and Enter shows that receipt;
a receipt typed when the program is killed is offered back at the next start; 退出 with a typed form asks first. The database is checked after each step."""

import datetime
import glob
import json
import os
import sys
import time

import pyatspi

from atspi_support import (ProgramRun, assert_still_running, clear_and_type, click, combo_text,
                           execute, find, find_button, grid_cell, is_enabled, KEY_DOWN, KEY_RETURN,
                           KEY_TAB,
                           log_in,
                           message_box, open_dialog, press_keys, press_with_control, read_message,
                           text_of,
                           toolbar_button, type_in_cell, type_text, wait_for)


def seed(home):
    """A stored receipt from 华南玻璃 of the item A10, before the clerk logs in."""
    execute(home, "INSERT INTO yclnote (原材料名字, 型号, 数量, 单位, 单价, 供应单位, 分类, "
                  "制单人, 日期, 正负, 单据号, 备注) VALUES ('A10', 'X', '20', 'pc', '1', "
                  "'华南玻璃', 'metal', 'admin', '2024-01-05', '入库', '00000001', '')")
    execute(home, "INSERT INTO ycldate (单号, 出入) VALUES ('00000001', '入')")
    # A requisition that puts a second item, A20, on the product list.
    execute(home, "INSERT INTO yclnote (原材料名字, 型号, 数量, 单位, 供应单位, 分类, 制单人, 日期, "
                  "正负, 单据号, 备注) VALUES ('A20', 'Y', '1', 'pc', '一号楼', 'metal', 'admin', "
                  "'2024-01-04', '出库', '00000001', '')")


def lines(home, number):
    return execute(home, "SELECT 供应单位, 原材料名字, 数量, 单价, 备注 FROM yclnote WHERE "
                         "单据号='%s' AND 正负='入库' ORDER BY rowid" % number)


SECOND = ("华南", "A2", "3", "1", "")  # the line typed after Tab


def draft_names(home):
    """The product names on the receipt draft kept in HOME, None when there is none."""
    paths = glob.glob(os.path.join(home, "drafts", "receipt-*.json"))
    if not paths:
        return None
    with open(paths[0], encoding="utf-8") as draft:
        return [line[0] for line in json.load(draft)["lines"]]


def holds_focus(node):
    return node.getState().contains(pyatspi.STATE_FOCUSED) or any(
        holds_focus(node[i]) for i in range(node.childCount))


def no_message(app):
    time.sleep(0.5)
    assert not open_dialog(app), "unexpected message box"


def drive(run):
    home = run.home
    program, app = run.start()
    try:
        wait_for(lambda: find(app, description="用户_组合框"), what="the login window")
        seed(home)
        log_in(app, "admin", "admin")
        main = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        aux = lambda index: toolbar_button(main, "辅_工具条", index)
        number = wait_for(lambda: find(main, description="编辑框_单号入库"), what="number box")
        grid = wait_for(lambda: find(main, description="显示数据"), what="the receipt grid")

        # 添加; a new supplier that starts like a known one, an item like a known one, and a
        # last remark typed without Return before 保存 is clicked.
        click(toolbar_button(main, "工具条1", 0))
        wait_for(lambda: text_of(number) == "00000001", what="the stored receipt")
        click(aux(3))
        wait_for(lambda: text_of(number) == "00000002", what="the new number")
        # Tab from where 添加 leaves the keyboard leads into the header, to the number, and on
        # past the date (not through its year, month and day) to the supplier.
        press_keys(KEY_TAB)
        wait_for(lambda: number.getState().contains(pyatspi.STATE_FOCUSED),
                 what="the number box focused by Tab")
        press_keys(KEY_TAB, KEY_TAB)
        wait_for(lambda: holds_focus(find(main, description="编辑框_单位入库")),
                 what="the supplier focused by Tab")
        # The row buttons beside the heading row take the mouse: + adds a line, - takes it away.
        rows = grid.queryTable().nRows
        click(find(main, description="按钮7"))
        wait_for(lambda: grid.queryTable().nRows == rows + 1, what="a line added by +")
        click(find(main, description="按钮2"))
        wait_for(lambda: grid.queryTable().nRows == rows, what="the line taken away by -")
        # The supplier clicked; Tab leads on to the category and then to the first line.
        click(find(main, description="编辑框_单位入库"))
        type_text("华南")
        press_keys(KEY_TAB)
        type_text("metal ")  # a space typed after a name is not kept
        press_keys(KEY_TAB)
        type_text("A0")
        # Corrected at once: the cell just typed is clicked again and typed over.
        press_keys(KEY_RETURN)
        type_in_cell(grid, 1, 0, "A1")
        # Neither Down in the cell being typed nor the wheel turned over it, the supplier and
        # the date changes what was typed, though the lists offer A10, A20 and 华南玻璃.
        press_keys(KEY_DOWN)
        for node in (grid_cell(grid, 1, 0), find(main, description="编辑框_单位入库"),
                     find(main, description="YCLRK_日期框")):
            click(node, "b5c")
        type_in_cell(grid, 1, 2, "5")
        type_in_cell(grid, 1, 3, "pc")
        type_in_cell(grid, 1, 4, "2.5")
        type_in_cell(grid, 1, 5, "备注 ")
        for step in ([KEY_TAB, KEY_TAB], "A2", [KEY_TAB, KEY_TAB, KEY_TAB], "pc", [KEY_TAB], "1"):
            press_keys(*step) if isinstance(step, list) else type_text(step)
        click(aux(4))
        # The second line's quantity was passed over: the refusal puts the clerk on it.
        assert read_message(app) == "表单中重要参数不能为空"
        # A quantity beyond what the stock counts is refused, the clerk put back on it.
        type_text("99999999999")
        click(aux(4))
        assert read_message(app) == "第 2 行的数量太大，最多 2147483647"
        # A quantity the stock counts as less than typed is asked about; 否 keeps the form.
        type_text("3.5")
        click(aux(4))
        assert read_message(app, "否").startswith("库存只按整数计算：第 2 行的数量 3.5 计为 3。")
        type_in_cell(grid, 2, 2, "3")
        click(aux(4))
        no_message(app)
        assert lines(home, "00000002") == [("华南", "A1", "5", "2.5", "备注"), SECOND], \
            lines(home, "00000002")
        assert combo_text(main, "编辑框_单位入库") == "华南"
        # Dated today, not like the receipt shown before it (2024-01-05).
        assert execute(home, "SELECT DISTINCT 日期, 分类 FROM yclnote WHERE 单据号='00000002'") \
            == [(datetime.date.today().isoformat(), "metal")]
        wait_for(lambda: grid_cell(grid, 3, 0).name == "合计 ：15.50    ", what="the totals row")

        # The receipt just saved is modified at once; the quantity typed last is stored, saved
        # by Ctrl+S as by 保存.
        click(aux(5))
        type_in_cell(grid, 1, 2, "7")
        press_with_control("s")
        assert read_message(app) == "00000002修改成功！"
        assert lines(home, "00000002") == [("华南", "A1", "7", "2.5", "备注"), SECOND]

        # Paging away from a modification asks; 否 keeps it, 是 leaves it unsaved.
        click(aux(5))
        type_in_cell(grid, 1, 2, "9")
        click(aux(8))
        assert read_message(app, "否") == "当前单据已修改，是否放弃修改？"
        assert text_of(number) == "00000002" and grid_cell(grid, 1, 2).name == "9"
        assert grid_cell(grid, 1, 6).name == "22.50", "the line total of the quantity typed"
        click(aux(8))
        assert read_message(app, "是") == "当前单据已修改，是否放弃修改？"
        wait_for(lambda: text_of(number) == "00000001", what="the previous receipt")
        assert not is_enabled(aux(4)), "保存 still enabled after leaving the modification"
        assert lines(home, "00000002") == [("华南", "A1", "7", "2.5", "备注"), SECOND]
        assert lines(home, "00000001") == [("华南玻璃", "A10", "20", "1", "")]

        # A number typed and Enter shows that receipt; an unknown one is said so.
        clear_and_type(number, "00000002")
        press_keys(KEY_RETURN)
        wait_for(lambda: grid_cell(grid, 1, 0).name == "A1", what="receipt 00000002 by number")
        clear_and_type(number, "00000009")
        press_keys(KEY_RETURN)
        assert read_message(app) == "没有单号为 00000009 的单据"
        assert text_of(number) == "00000002" and grid_cell(grid, 1, 2).name == "7"
        # What is typed next replaces the number put back: a short one finds its receipt.
        type_text("1")
        press_keys(KEY_RETURN)
        wait_for(lambda: text_of(number) == "00000001", what="receipt 00000001 typed short")

        # 退出 with a typed form asks; 否 returns to the form as it was, 是 ends the program.
        click(aux(3))
        type_in_cell(grid, 1, 0, "B")
        # - takes back a line just added and left empty, else the line the clerk is on, not
        # the last one typed.
        rows = grid.queryTable().nRows
        click(find(main, description="按钮7"))
        click(find(main, description="按钮2"))
        wait_for(lambda: grid.queryTable().nRows == rows, what="the empty line taken back")
        assert grid_cell(grid, 1, 0).name == "B"
        click(find(main, description="按钮7"))
        type_in_cell(grid, 2, 0, "C")
        click(grid_cell(grid, 1, 0))
        click(find(main, description="按钮2"))
        wait_for(lambda: grid_cell(grid, 1, 0).name == "C", what="line B taken away by -")
        # The program killed with the receipt typed, as by a crash or a power cut: started
        # again, it offers the receipt back after the login, and 是 puts it on the form.
        wait_for(lambda: draft_names(home) == ["C"], what="the typed receipt kept as a draft")
        program.kill()
        program.wait()
        program, app = run.start()
        log_in(app, "admin", "admin")
        assert read_message(app, "是").startswith("上次有一张入库单没有保存，程序就关闭了（1 行，")
        main = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        grid = find(main, description="显示数据")
        wait_for(lambda: grid_cell(grid, 1, 0).name == "C", what="the receipt taken up again")
        assert text_of(find(main, description="编辑框_单号入库")) == "00000003"
        click(toolbar_button(main, "工具条1", 9))
        assert read_message(app, "否") == "当前单据尚未保存，确定要退出吗？"
        assert_still_running(program, app)
        assert grid_cell(grid, 1, 0).name == "C"
        click(toolbar_button(main, "工具条1", 9))
        dialog = wait_for(lambda: message_box(app, "当前单据尚未保存，确定要退出吗？"),
                          what="the exit question")
        click(find_button(dialog, "是", "Yes"))
        wait_for(lambda: program.poll() is not None, what="the program to end")
        assert execute(home, "SELECT COUNT(*) FROM yclnote")[0][0] == 4
    finally:
        run.stop()


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        drive(run)
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
