#!/usr/bin/python3
"""On the demonstration data, the administrator adds a clerk without the audit right in 用户管理,
clicking and typing as a person does and answering its real message boxes. Through 系统 →
重新登录 the clerk logs in with the password as typed, finds 用户管理 disabled and is refused
the audit of a requisition; after a restart the administrator, refused a name typed over the
clerk's, grants the right and the clerk, logging in again, audits it. Run by run_atspi.sh inside a private X server and
D-Bus session."""

import sys
import time

import pyatspi

from atspi_support import (KEY_DOWN, KEY_RETURN, ProgramRun, answer_message, assert_still_running,
                           clear_and_type, click, execute, find, is_showing, log_in, press,
                           press_keys, read_message, text_of, type_text, wait_for)

CLERK = "李四"
PASSWORD = "pw'1,a=b"
LATEST_REQUISITION = "(select max(单号) from ycldate where 出入='出')"


def enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def auditor(home):
    return execute(home, "select 审核 from ycldate where 出入='出' and 单号=" +
                   LATEST_REQUISITION)[0][0]


class Session:
    """One run of the program, logged in as USER."""

    def __init__(self, run, user, password, *arguments):
        self.home = run.home
        self.program, self.app = run.start(*arguments)
        log_in(self.app, user, password)
        self.main = wait_for(lambda: find(self.app, description="MainWindow"), what="MainWindow")

    def control(self, name, root=None):
        return wait_for(lambda: find(root or self.main, description=name), what=name)

    def open_user_management(self):
        item = self.control("用户_用户管理")
        assert enabled(item), "用户管理 is disabled for the administrator"
        press(item)
        return self.control("UserManagementWindow", self.app)

    def close_user_management(self, window):
        click(self.control("按钮_退出", window))
        wait_for(lambda: not find(self.app, description="UserManagementWindow"),
                 what="用户管理 to close")
        assert_still_running(self.program, self.app)

    def log_in_again(self, user, password):
        """系统 → 重新登录 clicked; USER types his name and password into the login window."""
        click(self.control("系统"))
        click(self.control("系统_重新登录"))
        wait_for(lambda: not find(self.app, description="MainWindow"), what="the main window gone")
        for box, text in (("用户_组合框", user), ("编辑框2", password)):
            field = wait_for(lambda: find(self.app, description=box), what=box)
            wait_for(lambda: is_showing(field), what=box + " shown")
            click(field)
            type_text(text)
        click(self.control("按钮2", self.app))
        self.main = wait_for(lambda: find(self.app, description="MainWindow"), what="MainWindow")
        return self

    def audit_latest_requisition(self):
        click(self.control("工具条1_1"))
        click(self.control("辅_工具条_11"))

    def end(self):
        press(self.control("工具条1_9"))
        wait_for(lambda: self.program.poll() is not None, what="the program to end")


def add_clerk(session, home):
    window = session.open_user_management()
    field = lambda name: session.control(name, window)
    for box, text in (("编辑框_用户名", CLERK), ("编辑框_密码", PASSWORD),
                      ("编辑框_密码确认", PASSWORD + "x")):
        click(field(box))
        type_text(text)
    click(field("按钮_添加"))
    answer_message(session.app, "2次密码不一致，请重新输入！", "确定")
    assert execute(home, "select count(*) from user")[0][0] == 1, "a refused account was stored"

    clear_and_type(field("编辑框_密码确认"), PASSWORD, length=len(PASSWORD) + 1)
    click(field("按钮_添加"))
    answer_message(session.app, "已添加用户『%s』。" % CLERK, "确定")
    session.close_user_management(window)


def grant_audit_right(session):
    window = session.open_user_management()
    field = lambda name: session.control(name, window)
    click(field("超级列表框_用户").queryTable().getAccessibleAt(1, 1))
    wait_for(lambda: text_of(field("编辑框_用户名")) == CLERK, what="the clerk chosen")
    click(field("选择框_审核"))
    # A name typed over the chosen one is no rename: refused, nothing stored.
    clear_and_type(field("编辑框_用户名"), "王五")
    click(field("按钮_修改"))
    answer_message(session.app, "所选用户是『%s』，用户名不能修改；要添加新用户，请点击“添加”。"
                   % CLERK, "确定")
    assert execute(session.home, "select ycl审核 from user where 编号=2") == [("",)]
    clear_and_type(field("编辑框_用户名"), CLERK)
    click(field("按钮_修改"))
    answer_message(session.app, "已修改用户『%s』的权限，该用户下次登录时生效。" % CLERK, "确定")
    session.close_user_management(window)


def main():
    binary = sys.argv[1]
    with ProgramRun(binary) as run:
        home = run.home
        admin = Session(run, "admin", "admin", "--demo")
        add_clerk(admin, home)
        rows = execute(home, "select 编号, 用户, 密码, ycl审核, 数据操作 from user order by 编号")
        assert rows[1:] == [(2, CLERK, PASSWORD, "", "")], rows
        # The latest requisition waits for its audit.
        execute(home, "update ycldate set 审核=NULL where 出入='出' and 单号=" + LATEST_REQUISITION)
        clerk = admin.log_in_again(CLERK, PASSWORD)
        assert not enabled(clerk.control("用户_用户管理")), "用户管理 is enabled for a clerk"
        clerk.audit_latest_requisition()
        assert read_message(clerk.app) == "当前用户没有权限审核，请让系统管理员添加权限！"
        assert auditor(home) is None
        # Without the data right the stock row's 删除 is said to be refused, not ignored.
        items = execute(home, "select count(*) from ycl")
        click(clerk.control("工具条1_2"))
        stock = clerk.control("超级列表框1").queryTable()
        wait_for(lambda: stock.nRows > 0, what="stock rows")
        click(stock.getAccessibleAt(0, 2))
        click(clerk.control("辅_工具条_13"))  # the row's menu pops up
        time.sleep(0.5)
        press_keys(KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_RETURN)  # its 4th item: 删除
        assert read_message(clerk.app) == "当前用户没有权限删除数据，请让系统管理员添加权限！"
        assert execute(home, "select count(*) from ycl") == items
        clerk.end()

        admin = Session(run, "admin", "admin")
        grant_audit_right(admin)
        assert execute(home, "select ycl审核 from user where 编号=2") == [("是",)]
        admin.end()

        clerk = Session(run, CLERK, PASSWORD)
        clerk.audit_latest_requisition()
        box = clerk.control("编辑框_领料人_出库")
        wait_for(lambda: text_of(box) == CLERK, what="the clerk shown as auditor")
        assert auditor(home) == CLERK
        clerk.end()
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
