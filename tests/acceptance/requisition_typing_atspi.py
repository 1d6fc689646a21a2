#!/usr/bin/python3
"""The stock list's pop-up menu right after login, and a requisition corrected at once, on the
real program, clicked with the mouse and typed on the keyboard without Return before a
toolbar button is clicked: 导入 → 入库 and 导入 → 领料 take the next free number and the clerk as
maker; the requisition just saved is modified and deleted without leaving the page; a header and a line typed
field after field and cell after cell with Return and without its unit gets the item's, its stock shown, and takes the next number when
another clerk took its own meanwhile; 删除 gives up a new one; the fields are named for a screen
reader. The database is
checked after each step."""

import sys

from atspi_support import (ProgramRun, answer_dialog, click, execute, find, grid_cell, KEY_DOWN,
                           KEY_RETURN, log_in, open_dialog, press_keys, read_message, right_click,
                           text_of, toolbar_button, type_in_cell, type_text, wait_for)


def seed(home):
    """20 pieces of ALU received on receipt 00000001, before the clerk logs in."""
    execute(home, "INSERT INTO yclnote (原材料名字, 型号, 数量, 单位, 单价, 供应单位, 分类, "
                  "制单人, 日期, 正负, 单据号, 备注) VALUES ('ALU', 'X', '20', 'pc', '1', "
                  "'华南玻璃', 'metal', 'admin', '2024-01-05', '入库', '00000001', '')")
    execute(home, "INSERT INTO ycldate (单号, 出入) VALUES ('00000001', '入')")


def stored(home, direction):
    return execute(home, "SELECT 单据号, 原材料名字, 数量, 制单人 FROM yclnote WHERE 正负='%s' "
                         "ORDER BY rowid" % direction)


def from_stock_menu(main, downs):
    """Right-clicks the first stock row and picks the pop-up menu's item DOWNS steps down."""
    click(toolbar_button(main, "工具条1", 2))
    stock = wait_for(lambda: find(main, description="超级列表框1"), what="the stock list")
    cell = grid_cell(stock, 0, 2)
    click(cell)
    right_click(cell)
    press_keys(*([KEY_DOWN] * downs), KEY_RETURN)


def no_message(app):
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

        # 导入 → 入库 right after login: the next free number, the clerk as maker.
        from_stock_menu(main, 2)
        number = wait_for(lambda: find(main, description="编辑框_单号入库"), what="number box")
        wait_for(lambda: text_of(number) == "00000002", what="receipt number 00000002")
        assert text_of(find(main, description="编辑框_制单人_入库")) == "admin"
        grid = find(main, description="显示数据")
        assert grid_cell(grid, 1, 0).name == "ALU"
        click(find(main, description="编辑框_单位入库"))
        type_text("S")
        type_in_cell(grid, 1, 2, "3")
        click(aux(4))
        no_message(app)
        assert stored(home, "入库")[1:] == [("00000002", "ALU", "3", "admin")], \
            stored(home, "入库")

        # 导入 → 领料: requisition 00000001, made by the clerk.
        from_stock_menu(main, 3)
        number = wait_for(lambda: find(main, description="编辑框_单号出库"), what="number box")
        wait_for(lambda: text_of(number) == "00000001", what="requisition number 00000001")
        assert text_of(find(main, description="编辑框_制单人_出库")) == "admin"
        # What a screen reader says for the fields: each named after its label (the auditor's
        # box was read as 制单), the period pickers, which have none, after their meaning.
        for field, name in (("编辑框_制单人_出库", "制单"), ("编辑框_领料人_出库", "审核"),
                            ("YCLll_日期框", "领料时间"), ("编辑框_出库_项目", "所用项目"),
                            ("formo", "统计起始日期"), ("too", "统计结束日期")):
            said = find(main, description=field).name
            assert said == name, (field, said)
        click(find(main, description="编辑框_出库_项目"))
        type_text("一号楼")
        grid = find(main, description="显示数据1")
        # More than the stock, the remark typed after it: the refusal puts the clerk back on
        # the quantity, and the number typed at once replaces it.
        type_in_cell(grid, 1, 2, "50")
        type_in_cell(grid, 1, 4, "x")
        click(aux(4))
        assert "库中不够 只有23pc 无法领出！" in read_message(app)
        type_text("5")
        click(aux(4))
        no_message(app)
        assert stored(home, "出库") == [("00000001", "ALU", "5", "admin")], stored(home, "出库")

        # Modified and deleted at once by the clerk who saved it.
        click(aux(5))
        type_in_cell(grid, 1, 2, "4")
        click(aux(4))
        assert read_message(app) == "00000001修改成功！"
        assert stored(home, "出库") == [("00000001", "ALU", "4", "admin")]
        click(aux(6))
        labels = answer_dialog(app, "the deletion question", "是", "Yes")
        assert "删除之后数据将无法恢复。确定要删除吗？" in labels, labels
        assert read_message(app) == "单据号：00000001删除成功！"
        assert stored(home, "出库") == []
        assert execute(home, "SELECT COUNT(*) FROM ycldate WHERE 出入='出'")[0][0] == 0

        # A line typed by hand without its unit: the item's unit fills in once its name and
        # model are typed, and is stored with the line instead of making another stock row.
        click(aux(3))
        given = text_of(number)
        # Return after a field or a cell goes on to the next one, where the next text goes.
        click(find(main, description="编辑框_出库_项目"))
        type_text("一号楼")
        press_keys(KEY_RETURN)
        type_text("metal")
        press_keys(KEY_RETURN)
        type_text("alu")
        press_keys(KEY_RETURN)
        type_text("x")
        press_keys(KEY_RETURN)
        type_text("2")
        wait_for(lambda: grid_cell(grid, 1, 3).name == "pc", what="the unit filled in")
        assert [grid_cell(grid, 1, c).name for c in range(2)] == ["alu", "x"]
        # Under the grid, the stock of the line's item, before 保存 could refuse too much.
        hint = find(main, description="显示数据1_现存")
        wait_for(lambda: hint.name.startswith("现存：alu x 共 ") and hint.name.endswith(" pc"),
                 what="the stock of the line's item")
        # Meanwhile another clerk saves a requisition under the number this one was given.
        execute(home, "INSERT INTO ycldate (单号, 出入) VALUES ('%s', '出')" % given)
        taken = "%08d" % (int(given) + 1)
        click(aux(4))
        assert read_message(app) == "单据号 %s 已被其他用户使用，本单已保存为 %s。" % (given, taken)
        assert text_of(number) == taken
        assert execute(home, "SELECT 供应单位, 分类, 原材料名字, 型号, 数量, 单位, 单据号 FROM yclnote "
                             "WHERE 正负='出库'") == [("一号楼", "metal", "alu", "x", "2", "pc",
                                                      taken)], \
            execute(home, "SELECT 原材料名字, 单位 FROM yclnote")

        # 删除 on a new requisition gives up what was typed, and nothing stored goes with it.
        saved = text_of(number)
        click(aux(3))
        wait_for(lambda: text_of(number) != saved, what="a new requisition's number")
        type_in_cell(grid, 1, 0, "ALU")
        click(aux(6))
        labels = answer_dialog(app, "the question to give it up", "是", "Yes")
        assert "这张新单据还没有保存。确定要放弃它吗？" in labels, labels
        wait_for(lambda: text_of(number) == saved, what="the saved requisition shown again")
        no_message(app)
        assert len(stored(home, "出库")) == 1, stored(home, "出库")
    finally:
        run.stop()


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        drive(run)
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
