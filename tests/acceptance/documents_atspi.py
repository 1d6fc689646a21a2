#!/usr/bin/python3
"""Drives the real program with the mouse and keyboard and real message boxes: books a
receipt of two lines, sees the stock list follow, refuses a requisition beyond the stock with
the exact message, books one that takes exactly the stock, pages back and forth, and audits
with and (in a second run) without the audit right. Checks the database after each step."""

import sys
import time

import pyatspi

from atspi_support import (ProgramRun, assert_still_running, click, execute, find, find_button,
                           find_label_containing, is_enabled, log_in, open_dialog,
                           press_with_control, read_message, set_grid_cell, text_of, type_keys,
                           type_text, wait_for)


def rows(home, sql):
    return execute(home, sql)


def enter_main_window(app, user="admin", password="admin"):
    log_in(app, user, password)
    return wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")


def button(main, bar, index):
    return wait_for(lambda: find(main, description="%s_%d" % (bar, index)),
                    what="%s_%d" % (bar, index))


def set_combo(main, name, text):
    box = wait_for(lambda: find(main, description=name), what=name)
    click(find(box, role=pyatspi.ROLE_TEXT) or box)
    type_text(text)


def no_message(app):
    time.sleep(0.5)
    assert not open_dialog(app), "unexpected message box"


def first_session(run):
    home = run.home
    program, app = run.start()
    try:
        main = enter_main_window(app)

        # A receipt of two lines.
        click(button(main, "工具条1", 0))
        click(button(main, "辅_工具条", 3))
        set_combo(main, "编辑框_单位入库", "supplier")
        set_combo(main, "组合框_分类", "metal")
        grid = find(main, description="显示数据")
        set_grid_cell(grid, 1, 0, "ALU")
        set_grid_cell(grid, 1, 2, "10")
        set_grid_cell(grid, 1, 3, "pc")
        click(find(main, description="按钮7"))
        set_grid_cell(grid, 2, 0, "GLASS")
        set_grid_cell(grid, 2, 2, "4")
        set_grid_cell(grid, 2, 3, "pc")
        click(button(main, "辅_工具条", 4))
        no_message(app)
        assert rows(home, "SELECT 原材料名字, 数量 FROM yclnote WHERE 单据号='00000001' "
                          "AND 正负='入库' ORDER BY rowid") == [("ALU", "10"), ("GLASS", "4")]

        # The stock list follows.
        click(button(main, "工具条1", 2))
        stock = find(main, description="超级列表框1")
        wait_for(lambda: stock.queryTable().nRows == 2, what="two stock rows")

        # A requisition beyond the stock is refused with the exact message; the stock is taken.
        click(button(main, "工具条1", 1))
        click(button(main, "辅_工具条", 3))
        set_combo(main, "编辑框_出库_项目", "tower")
        set_combo(main, "组合框_出库分类", "metal")
        grid = find(main, description="显示数据1")
        set_grid_cell(grid, 1, 0, "ALU")
        set_grid_cell(grid, 1, 2, "11")
        set_grid_cell(grid, 1, 3, "pc")
        click(button(main, "辅_工具条", 4))  # a message box follows: no blocking call
        text = read_message(app)
        assert "产品名称：ALU" in text and "库中不够 只有10pc 无法领出！" in text, text
        assert rows(home, "SELECT COUNT(*) FROM yclnote WHERE 正负='出库'") == [(0,)]
        set_grid_cell(grid, 1, 2, "10")
        click(button(main, "辅_工具条", 4))
        no_message(app)
        assert rows(home, "SELECT 数量 FROM yclnote WHERE 正负='出库'") == [("10",)]

        # Paging: before the only requisition and back to it.
        number = find(main, description="编辑框_单号出库")
        click(button(main, "辅_工具条", 8))
        wait_for(lambda: text_of(number) == "", what="no requisition shown")
        click(button(main, "辅_工具条", 9))
        wait_for(lambda: text_of(number) == "00000001", what="the requisition again")
        # A number typed short into the number box, then Return, finds the 8-digit one.
        click(button(main, "辅_工具条", 8))
        wait_for(lambda: text_of(number) == "", what="no requisition shown")
        click(number)
        type_keys("1")
        wait_for(lambda: text_of(number) == "00000001", what="the requisition found by 1")

        # Audit with the right, then once more.
        click(button(main, "辅_工具条", 11))
        auditor = find(main, description="编辑框_领料人_出库")
        wait_for(lambda: text_of(auditor) == "admin", what="the auditor shown")
        assert rows(home, "SELECT 审核 FROM ycldate WHERE 出入='出'") == [("admin",)]
        click(button(main, "辅_工具条", 11))
        assert read_message(app) == "该单已经审核！"
        # 修改 asks first, as the audit goes with a change; 否 leaves it read-only and audited.
        click(button(main, "辅_工具条", 5))
        assert read_message(app, "否") == "该单已由admin审核，修改保存后须重新审核。确定要修改吗？"
        assert not is_enabled(button(main, "辅_工具条", 4)), "保存 enabled after 否"
        # 删除 says the audit goes with it; 否 keeps the requisition.
        click(button(main, "辅_工具条", 6))
        assert read_message(app, "否") == \
            "该单已由admin审核。删除之后数据将无法恢复。确定要删除吗？"
        assert rows(home, "SELECT 审核 FROM ycldate WHERE 出入='出'") == [("admin",)]
        # The keys reach the window again once the box has closed, with no click in between.
        press_with_control("n")
        wait_for(lambda: text_of(number) == "00000002", what="a new requisition by Ctrl+N")
        # So they do after two boxes in a row: the receipt's deletion asked, then refused, as
        # its ALU has gone out.
        click(button(main, "工具条1", 0))
        receipt_number = find(main, description="编辑框_单号入库")
        wait_for(lambda: text_of(receipt_number) == "00000001", what="the receipt shown")
        click(button(main, "辅_工具条", 6))
        question = wait_for(lambda: open_dialog(app), what="the deletion question")
        click(wait_for(lambda: find_button(question, "是"), what="是"))
        wait_for(lambda: find_label_containing(app, "无法删除"), what="the refusal")
        read_message(app)
        press_with_control("n")
        wait_for(lambda: text_of(receipt_number) == "00000002", what="a new receipt by Ctrl+N")
        assert_still_running(program, app)
    finally:
        run.stop()


def second_session(run):
    home = run.home
    execute(home, "INSERT INTO [user] (编号, 用户, 密码, ycl审核, 数据操作) "
                  "VALUES (2, 'clerk', 'clerk', '否', '否')")
    program, app = run.start()
    try:
        main = enter_main_window(app, "clerk", "clerk")
        click(button(main, "工具条1", 1))
        click(button(main, "辅_工具条", 11))
        assert read_message(app) == "当前用户没有权限审核，请让系统管理员添加权限！"
        assert_still_running(program, app)
        assert rows(home, "SELECT 审核 FROM ycldate WHERE 出入='出'") == [("admin",)]
    finally:
        run.stop()


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        first_session(run)
        second_session(run)
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
