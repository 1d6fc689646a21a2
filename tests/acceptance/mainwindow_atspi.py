#!/usr/bin/python3
"""Answers real message boxes on the main window over the accessibility bus and checks after
each one that the program still runs: closing a message box, question or secondary window
must never end it. Run by run_atspi.sh inside a private X server and D-Bus session."""

import sys
import time

import pyatspi

from atspi_support import (ProgramRun, answer_message, assert_still_running, click, combo_text,
                           count_rows, execute, find, find_button, find_label_containing, is_enabled,
                           is_showing, KEY_DOWN, KEY_ESCAPE, KEY_RETURN, log_in, open_dialog,
                           press, press_keys, press_with_control, read_message, text_of,
                           type_keys, type_text, wait_for)


def stock_list(main_window):
    return wait_for(lambda: find(main_window, description="超级列表框1"), what="超级列表框1")


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        home = run.home
        program, app = run.start("--demo")
        log_in(app, "admin", "admin")
        main_window = wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")

        # 帮助 → 关于 while only the main window is shown.
        press(wait_for(lambda: find(main_window, description="帮助_关于"), what="帮助_关于"))
        dialog = wait_for(lambda: open_dialog(app), what="the about box")
        click(wait_for(lambda: find(dialog, role=pyatspi.ROLE_PUSH_BUTTON), what="OK button"))
        wait_for(lambda: not open_dialog(app), what="the about box to close")
        assert_still_running(program, app)

        # The print tab tells where printing starts.
        click(wait_for(lambda: find(main_window, role=pyatspi.ROLE_PAGE_TAB, name="打印"),
                       what="the 打印 tab"))
        wait_for(lambda: (lambda hint: hint and is_showing(hint))(
            find_label_containing(main_window, "月度汇总和出入库记录页点工具栏的“打印”")), what="the print hint")

        # The records tab clicked: the keyboard is on the records, not on the period picker
        # that appears with the page, where a digit typed would replace the year.
        start = wait_for(lambda: find(main_window, description="formo"), what="formo")
        click(wait_for(lambda: find(main_window, role=pyatspi.ROLE_PAGE_TAB, name="YCL明细"),
                       what="the YCL明细 tab"))
        wait_for(lambda: is_showing(start), what="the period picker")
        before = text_of(start)
        type_keys("9", enter=False)
        time.sleep(0.5)
        assert text_of(start) == before, (before, text_of(start))

        # 库存明细, then 出入记录 with no row selected.
        click(wait_for(lambda: find(main_window, description="工具条1_2"), what="库存明细"))
        table = stock_list(main_window).queryTable()
        wait_for(lambda: table.nRows > 0, what="stock rows")
        click(wait_for(lambda: find(main_window, description="辅_工具条_13"), what="出入记录"))
        answer_message(app, "请在下面选择你要查询的物品！", "确定")
        assert_still_running(program, app)

        # The movement records of an item and a document opened from them, left again with
        # their 返回 buttons clicked with the mouse: the buttons lie on the pages' title bars.
        click(table.getAccessibleAt(0, 2), "b1d")
        moves = wait_for(lambda: find(main_window, description="超级列表框2"), what="超级列表框2")
        wait_for(lambda: is_showing(moves) and moves.queryTable().nRows > 0, what="movements")
        click(moves.queryTable().getAccessibleAt(0, 0), "b1d")
        back = wait_for(lambda: next((b for b in (find(main_window, description=name)
                                                  for name in ("按钮5", "按钮6"))
                                      if is_showing(b)), None), what="返回 of the document")
        click(back)
        wait_for(lambda: is_showing(moves) and not is_showing(back), what="the movements again")
        click(wait_for(lambda: find(main_window, description="按钮3"), what="按钮3"))
        wait_for(lambda: not is_showing(moves) and is_showing(stock_list(main_window)),
                 what="the stock list again")
        # With the list's own toolbar: 保存 exports it again.
        assert is_enabled(find(main_window, description="辅_工具条_4")), "保存 disabled"
        # Return on the selected row opens its movements as the double click does.
        click(table.getAccessibleAt(1, 2))
        press_keys(KEY_RETURN)
        wait_for(lambda: is_showing(moves), what="the movements opened by Return")
        click(find(main_window, description="按钮3"))
        wait_for(lambda: not is_showing(moves), what="the stock list once more")
        # And so does the first item of the row's pop-up menu, 记录.
        click(table.getAccessibleAt(1, 2))
        click(find(main_window, description="辅_工具条_13"))  # the row's menu pops up
        time.sleep(0.5)
        press_keys(KEY_DOWN, KEY_RETURN)
        wait_for(lambda: is_showing(moves), what="the movements opened by 记录")
        click(find(main_window, description="按钮3"))
        wait_for(lambda: not is_showing(moves), what="the stock list again")
        # Its 删除 on a row the documents make: nothing to delete, and said so.
        click(table.getAccessibleAt(1, 2))
        click(find(main_window, description="辅_工具条_13"))
        time.sleep(0.5)
        press_keys(KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_RETURN)
        answer_message(app, "您真的要删除选中的数据吗？", "确定")
        assert read_message(app).startswith("没有删除任何数据"), "删除 said nothing"
        assert_still_running(program, app)
        # 审核 on the receipt page says that receipts are not audited.
        click(wait_for(lambda: find(main_window, description="工具条1_0"), what="采购入库"))
        click(wait_for(lambda: find(main_window, description="辅_工具条_11"), what="审核"))
        answer_message(app, "入库单不需要审核，只有领料单需要审核。", "确定")
        click(wait_for(lambda: find(main_window, description="工具条1_2"), what="库存明细"))
        # A tab clicked shows its page with that page's toolbar: 领料单 from the stock page.
        click(wait_for(lambda: find(main_window, role=pyatspi.ROLE_PAGE_TAB, name="领料单"),
                       what="the 领料单 tab"))
        add = wait_for(lambda: find(main_window, description="辅_工具条_3"), what="添加")
        wait_for(lambda: is_showing(add), what="添加 on the requisition page")
        click(wait_for(lambda: find(main_window, description="工具条1_2"), what="库存明细"))

        # The month summary from a start date typed into the date picker: a click on the year
        # and four digits (a cursor left inside the year refused them), then 统计. A start
        # after the end is refused first. The second 统计 is pressed on the receipt page, where
        # the button and the pickers stay after the stock page.
        start = wait_for(lambda: find(main_window, description="formo"), what="formo")
        box = start.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        for year in ("2999", "2000"):
            pyatspi.Registry.generateMouseEvent(box.x + 12, box.y + box.height // 2, "b1c")
            time.sleep(0.3)
            type_keys(year, enter=False)
            if year == "2000":
                click(wait_for(lambda: find(main_window, description="工具条1_0"),
                               what="采购入库"))
            click(wait_for(lambda: find(main_window, description="辅_工具条_12"), what="统计"))
            if year == "2999":
                answer_message(app, "统计的起始日期晚于结束日期，请重新选择日期！", "确定")
        summary = wait_for(lambda: find(main_window, description="超级列表框3"), what="summary")
        rows = summary.queryTable()
        wait_for(lambda: is_showing(summary) and rows.nRows > 0, what="summary rows")
        opening = {rows.getAccessibleAt(r, 4).name for r in range(rows.nRows)}
        assert opening == {"0"}, "上月库存量 since 2000: %s" % sorted(opening)
        # A click on the title 本月出库 sorts the summary by it, as numbers, largest first.
        click(rows.getColumnHeader(6))
        wait_for(lambda: rows.getColumnHeader(6).name == "本月出库△", what="本月出库 marked")
        issued = [int(rows.getAccessibleAt(r, 6).name) for r in range(rows.nRows)]
        assert issued == sorted(issued, reverse=True), issued
        # 保存 proposes a workbook named for the summary's period; 取消 writes nothing.
        click(find(main_window, description="辅_工具条_4"))
        dialog = wait_for(lambda: open_dialog(app), what="the save dialog")
        proposed = text_of(wait_for(lambda: find(dialog, description="fileNameEdit"),
                                    what="file name"))
        assert proposed.startswith("月度汇总（2000年") and "至" in proposed and \
            proposed.endswith("）.xls"), proposed
        click(find_button(dialog, "取消", "Cancel"))
        wait_for(lambda: not open_dialog(app), what="the save dialog to close")
        assert_still_running(program, app)
        # There 出入记录 acts on the row chosen in the summary (the stock list's selection,
        # out of sight, is another item): its 记录 shows the records of that item.
        name = rows.getAccessibleAt(3, 2).name
        click(rows.getAccessibleAt(3, 2))
        click(find(main_window, description="辅_工具条_13"))
        time.sleep(0.5)
        press_keys(KEY_DOWN, KEY_RETURN)
        wait_for(lambda: is_showing(moves), what="the records of the summary's item")
        title = find(main_window, description="标签5").name
        assert name in title and table.getAccessibleAt(1, 2).name not in title, (name, title)
        # A summary row double-clicked shows its item's records, as a stock row does.
        click(wait_for(lambda: find(main_window, role=pyatspi.ROLE_PAGE_TAB, name="moon"),
                       what="the moon tab"))
        wait_for(lambda: is_showing(summary), what="the summary again")
        other = rows.getAccessibleAt(5, 2).name
        click(rows.getAccessibleAt(5, 2), "b1d")
        wait_for(lambda: is_showing(moves) and
                 other in find(main_window, description="标签5").name,
                 what="the records of the double-clicked summary row")
        click(find(main_window, description="按钮3"))  # 返回 leads back to the summary
        wait_for(lambda: is_showing(summary), what="the summary after 返回")
        click(wait_for(lambda: find(main_window, description="工具条1_2"), what="库存明细"))

        # The deletion question of the row's pop-up menu: 取消 keeps the row, 确定 removes it.
        # Rows of a refreshed list carry the item number 0, so ycl gets a row numbered 0.
        execute(home, "update ycl set 编号=0 where 编号=(select min(编号) from ycl)")
        before = count_rows(home, "ycl")
        for button, expected in (("取消", before), ("确定", before - 1)):
            click(table.getAccessibleAt(0, 2))
            click(find(main_window, description="辅_工具条_13"))  # the row's menu pops up
            time.sleep(0.5)
            press_keys(KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_RETURN)  # its 4th item: 删除
            answer_message(app, "您真的要删除选中的数据吗？", button)
            assert_still_running(program, app)
            rows = count_rows(home, "ycl")
            assert rows == expected, "%s: %d rows in ycl, expected %d" % (button, rows, expected)

        # The search window opens and closes with 退出, then with Escape typed in a field; the
        # main window keeps running. A name searched first: 库存明细 then shows every item
        # again.
        full = table.nRows
        for close_by_escape in (False, True):
            click(wait_for(lambda: find(main_window, description="辅_工具条_14"), what="查找"))
            search = wait_for(lambda: find(app, description="SearchWindow"), what="SearchWindow")
            click(wait_for(lambda: find(search, description="搜索按钮1"), what="搜索按钮1"))
            if open_dialog(app):
                answer_message(app, "请选择一个选项，输入你要查找的名称，然后再搜索。", "确定")
            assert_still_running(program, app, "SearchWindow")
            if close_by_escape:
                click(wait_for(lambda: find(search, description="名称_组合框"), what="名称"))
                press_keys(KEY_ESCAPE)
            else:
                click(find(search, description="名称_组合框"))
                type_text("钢化")
                click(find(search, description="搜索按钮1"))
                wait_for(lambda: 0 < table.nRows < full, what="the items found")
                # The stock tab says the list holds search results, until 库存明细.
                wait_for(lambda: find(main_window, role=pyatspi.ROLE_PAGE_TAB,
                                      name="YCL库存（搜索结果）"), what="the tab marked")
                click(wait_for(lambda: find(search, description="按钮2"), what="退出"))
            wait_for(lambda: not find(app, description="SearchWindow"), what="the search to close")
            assert_still_running(program, app)
            if not close_by_escape:
                click(find(main_window, description="工具条1_2"))
                wait_for(lambda: table.nRows == full, what="every item after 库存明细")
                wait_for(lambda: find(main_window, role=pyatspi.ROLE_PAGE_TAB, name="YCL库存"),
                         what="the tab's mark gone")

        # A click on the title 现存量 sorts the stock as numbers, the greatest first.
        click(table.getColumnHeader(4))
        stock = lambda: [int(table.getAccessibleAt(r, 4).name) for r in range(table.nRows)]
        wait_for(lambda: stock() == sorted(stock(), reverse=True), what="the stock sorted")

        # Ctrl+C on a row copies the whole row, its cells separated by tabs: pasted with Ctrl+V
        # into the search window's name box, it reads back as the row.
        click(table.getAccessibleAt(1, 2))
        row = "\t".join(table.getAccessibleAt(1, c).name for c in range(table.nColumns))
        press_with_control("c")
        click(wait_for(lambda: find(main_window, description="辅_工具条_14"), what="查找"))
        search = wait_for(lambda: find(app, description="SearchWindow"), what="SearchWindow")
        click(wait_for(lambda: find(search, description="名称_组合框"), what="名称"))
        press_with_control("v")
        wait_for(lambda: combo_text(search, "名称_组合框") == row, what="the copied row pasted")
        click(find(search, description="按钮2"))
        wait_for(lambda: not find(app, description="SearchWindow"), what="the search to close")
        assert_still_running(program, app)

        # 帮助 → 帮助, clicked, shows the guide of the home page.
        click(find(main_window, description="帮助"))
        click(wait_for(lambda: find(main_window, description="帮助_帮助"), what="帮助_帮助"))
        guide = wait_for(lambda: find(main_window, description="超文本浏览框1"), what="the guide")
        wait_for(lambda: is_showing(guide), what="the guide shown")

        # The program still ends through 退出.
        click(wait_for(lambda: find(main_window, description="工具条1_9"), what="退出"))
        wait_for(lambda: program.poll() is not None, what="the program to end")
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
