#!/usr/bin/python3
"""Drives the real program over the accessibility bus with its real dialogs: exports the stock
list to .xls through the save dialog and reads it back with xlrd, exports it again to .xlsx as
a clerk does (mouse and keyboard) through the same dialog, backs the database up under
a name typed on the keyboard (a name that cannot name a file is refused and asked for again as
typed), changes the data behind the program's back and restores the backup. Run by
run_atspi.sh inside a private X server and D-Bus session."""

import glob
import os
import sqlite3
import sys

import openpyxl
import pyatspi
import xlrd

from atspi_support import (ProgramRun, answer_dialog, clear_and_type, click, find,
                           find_button, is_showing, log_in, open_dialog, press, text_of,
                           toolbar_button,
                           type_in_cell, type_into, type_text, wait_for)

STOCK_TITLES = ["编号", "库存分类", "名称", "型号", "现存量", "单位", "备注"]


def line_count(path):
    with sqlite3.connect(path) as db:
        return db.execute("SELECT count(*) FROM yclnote").fetchone()[0]


def export_stock_list(app, main_window, target):
    press(wait_for(lambda: find(main_window, description="工具条1_2"), what="库存明细"))
    table = wait_for(lambda: find(main_window, description="超级列表框1"), what="超级列表框1")
    rows = wait_for(lambda: table.queryTable().nRows, what="stock rows")
    press(wait_for(lambda: find(main_window, description="辅_工具条_4"), what="保存"))
    dialog = wait_for(lambda: open_dialog(app), what="the save dialog")
    type_into(wait_for(lambda: find(dialog, description="fileNameEdit"), what="file name"), target)
    answer_dialog(app, "the save dialog", "保存", "Save")
    wait_for(lambda: os.path.exists(target), what="the workbook")

    sheet = xlrd.open_workbook(target).sheet_by_index(0)
    assert sheet.name == "库存", sheet.name
    assert sheet.row_values(0) == STOCK_TITLES, sheet.row_values(0)
    assert sheet.nrows == rows + 1, (sheet.nrows, rows)
    assert all(cell.ctype in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_EMPTY)
               for r in range(sheet.nrows) for cell in sheet.row(r))
    assert [sheet.cell_value(r, 0) for r in range(1, sheet.nrows)] == \
        [str(r) for r in range(1, sheet.nrows)]
    return rows


def export_again_by_hand(app, main_window, target, rows):
    """保存 clicked with the mouse, the name typed on the keyboard, the dialog's 保存 clicked: the
    dialog kept from the last export proposes the list's own name again, not the one typed."""
    click(toolbar_button(main_window, "辅_工具条", 4))
    dialog = wait_for(lambda: open_dialog(app), what="the save dialog again")
    name = wait_for(lambda: find(dialog, description="fileNameEdit"), what="file name")
    assert text_of(name) == "库存.xls", text_of(name)
    clear_and_type(name, target)
    click(find_button(dialog, "保存", "Save"))
    wait_for(lambda: os.path.exists(target), what="the second workbook")
    sheet = openpyxl.load_workbook(target).active
    assert sheet.max_row == rows + 1, (sheet.max_row, rows)


def export_named_with_a_dot(app, main_window, typed, rows):
    """A name typed without the extension, a date in it: the chosen type's extension is added."""
    click(toolbar_button(main_window, "辅_工具条", 4))
    dialog = wait_for(lambda: open_dialog(app), what="the save dialog once more")
    clear_and_type(wait_for(lambda: find(dialog, description="fileNameEdit"), what="file name"),
                   typed)
    click(find_button(dialog, "保存", "Save"))
    wait_for(lambda: os.path.exists(typed + ".xls"), what="the workbook named with .xls")
    assert not os.path.exists(typed), "a workbook without its extension"
    assert xlrd.open_workbook(typed + ".xls").sheet_by_index(0).nrows == rows + 1


def run_menu_item(app, main_window, menu, item):
    entry = find(app, description=item)
    if entry is None:  # the menu's items appear once it is open
        press(wait_for(lambda: find(main_window, description=menu), what=menu))
        entry = wait_for(lambda: find(app, description=item), what=item)
    press(entry)


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        home = run.home
        out = os.path.join(run.root, "export")
        os.mkdir(out)
        database = os.path.join(home, "db.mdb")
        program, app = run.start("--demo")
        log_in(app, "admin", "admin")
        main_window = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")
        rows = export_stock_list(app, main_window, os.path.join(out, "库存.xls"))
        export_again_by_hand(app, main_window, os.path.join(out, "again.xlsx"), rows)
        export_named_with_a_dot(app, main_window, os.path.join(out, "库存12.10"), rows)

        # Back up under a typed name; the proposed name is selected, so typing replaces it.
        run_menu_item(app, main_window, "系统", "系统_数据备份")
        for name in ("验收/备份", None, "验收备份"):
            if name is None:
                refusal = answer_dialog(app, "the refusal", "确定", "OK")
                assert any("不能用于文件名的字符 /" in text for text in refusal), refusal
                continue
            dialog = wait_for(lambda: open_dialog(app), what="the backup name box")
            box = wait_for(lambda: find(dialog, role=pyatspi.ROLE_TEXT), what="name")
            if name == "验收备份":
                assert text_of(box) == "验收/备份", text_of(box)
                clear_and_type(box, name)
            else:
                type_text(name)
            click(find_button(dialog, "确定", "OK"))
        answer_dialog(app, "the backup message", "确定", "OK")
        backup = os.path.join(home, "datebak", "验收备份.mdbbak")
        lines = line_count(database)
        assert line_count(backup) == lines

        # A change the restore must take away again.
        with sqlite3.connect(database) as db:
            db.execute("INSERT INTO yclnote (单据号, 正负, 日期, 原材料名字, 型号, 数量) "
                       "VALUES ('99999999', '入库', '2020-01-01', '验收新物料', 'X', '5')")
        assert line_count(database) == lines + 1

        # The same name again: asked before the earlier backup is replaced; 否 brings the name
        # back, 取消 then leaves the earlier backup as it was.
        run_menu_item(app, main_window, "系统", "系统_数据备份")
        dialog = wait_for(lambda: open_dialog(app), what="the backup name box")
        box = wait_for(lambda: find(dialog, role=pyatspi.ROLE_TEXT), what="name")
        clear_and_type(box, "验收备份")
        click(find_button(dialog, "确定", "OK"))
        question = answer_dialog(app, "the question to replace", "否", "No")
        assert any("已有名为“验收备份”的备份" in text for text in question), question
        dialog = wait_for(lambda: open_dialog(app), what="the name box again")
        box = wait_for(lambda: find(dialog, role=pyatspi.ROLE_TEXT), what="name")
        assert text_of(box) == "验收备份", text_of(box)
        click(find_button(dialog, "取消", "Cancel"))
        wait_for(lambda: not open_dialog(app), what="the name box to close")
        assert line_count(backup) == lines

        # A receipt being typed, then the requisition page shown: the restore asks before it
        # drops the form.
        click(toolbar_button(main_window, "工具条1", 0))
        click(toolbar_button(main_window, "辅_工具条", 3))
        grid = wait_for(lambda: find(main_window, description="显示数据"), what="the receipt grid")
        number = find(main_window, description="编辑框_单号入库")
        given = text_of(number)
        type_in_cell(grid, 1, 0, "A1")
        click(toolbar_button(main_window, "工具条1", 1))
        wait_for(lambda: is_showing(find(main_window, description="显示数据1")),
                 what="the requisition page")
        run_menu_item(app, main_window, "系统", "系统_数据恢复")
        question = answer_dialog(app, "the question on the form", "是", "Yes")
        assert "当前单据尚未保存，确定要恢复数据吗？" in question, question
        chooser = wait_for(lambda: open_dialog(app), what="the backup list")
        wait_for(lambda: find(chooser, role=pyatspi.ROLE_LIST_ITEM) or
                 find(chooser, role=pyatspi.ROLE_TABLE_CELL), what="a listed backup")
        items = [n.name for n in pyatspi.findAllDescendants(
            chooser, lambda n: n.getRole() in (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL))]
        assert items and items[0].startswith("验收备份"), items
        answer_dialog(app, "the backup list", "确定", "OK")
        question = answer_dialog(app, "the restore question", "是", "Yes")
        assert any("验收备份" in text for text in question), question
        answer_dialog(app, "the restore message", "确定", "OK")

        assert line_count(database) == lines
        before = glob.glob(os.path.join(home, "datebak", "恢复前-*.mdbbak"))
        assert len(before) == 1 and line_count(before[0]) == lines + 1, before
        # The receipt page, shown again by its tab, shows the restored data, not the form
        # given up.
        click(wait_for(lambda: find(main_window, role=pyatspi.ROLE_PAGE_TAB, name="入库单"),
                       what="the tab 入库单"))
        wait_for(lambda: is_showing(number) and text_of(number) != given,
                 what="the receipt page without the form given up")
        # Still running, with the restored stock list shown.
        assert program.poll() is None
        table = find(main_window, description="超级列表框1")
        assert table.queryTable().nRows == rows
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
