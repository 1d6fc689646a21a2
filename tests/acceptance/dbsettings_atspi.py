#!/usr/bin/python3
"""数据设置 typed and clicked as a person does, against the test run's PostgreSQL server: a wrong
port is refused and corrected in place, a web server's port is said to be no database server,
a wrong password gets a plain message, the right one
passes 测试连接, 确定 keeps the choice; after a restart the program works on the server: log
in, book a receipt, see the stock. The server URL comes from MORVANE_TEST_DATABASE ("@FILE"
reads it from FILE)."""

import os
import socketserver
import subprocess
import sys
import threading
import time
from urllib.parse import urlsplit

import pyatspi

from atspi_support import (ProgramRun, answer_message, assert_still_running, clear_and_type, click,
                           count_rows, find, log_in, open_dialog, set_grid_cell, type_text,
                           wait_for)


def server_url():
    setting = os.environ.get("MORVANE_TEST_DATABASE", "")
    assert setting, "MORVANE_TEST_DATABASE is not set: no test server"
    if setting.startswith("@"):
        with open(setting[1:], encoding="utf-8") as handle:
            setting = handle.read().strip()
    return urlsplit(setting)


def psql(url, database, statement):
    """Runs STATEMENT on DATABASE of the test server; returns the rows as lists of texts."""
    result = subprocess.run(
        ["psql", "-X", "-A", "-t", "-F", "\t", "-v", "ON_ERROR_STOP=1", "-h", url.hostname,
         "-p", str(url.port), "-U", url.username, "-d", database, "-c", statement],
        env=dict(os.environ, PGPASSWORD=url.password), capture_output=True, text=True,
        check=True)
    return [line.split("\t") for line in result.stdout.splitlines() if line]


def main_window(app):
    return wait_for(lambda: find(app, description="MainWindow"), what="MainWindow")


def button(root, name):
    return wait_for(lambda: find(root, description=name), what=name)


def no_message(app):
    time.sleep(0.5)
    assert not open_dialog(app), "unexpected message box"


class WebAnswer(socketserver.BaseRequestHandler):
    """Answers whatever arrives as a web server answers a request it cannot read."""

    def handle(self):
        self.request.recv(512)
        self.request.sendall(b"HTTP/1.0 400 Bad Request\r\n\r\n")


def web_server():
    server = socketserver.TCPServer(("127.0.0.1", 0), WebAnswer)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def choose_server(app, main, url, database):
    click(button(main, "工具条1_8"))  # 数据设置: a modal window, no blocking call
    window = wait_for(lambda: find(app, description="DatabaseSettingsWindow"),
                      what="DatabaseSettingsWindow")
    click(button(window, "单选框_服务器"))
    for name, text in (("编辑框_主机", url.hostname), ("编辑框_端口", "x"),
                       ("编辑框_数据库", database), ("编辑框_用户", url.username),
                       ("编辑框_密码", "not-the-password")):
        clear_and_type(button(window, name), text)
    click(button(window, "按钮_测试连接"))
    # The refused port is selected in its box: the number typed next replaces it. A port
    # where a web server answers is said to be no database server.
    answer_message(app, "端口应是 1 到 65535 之间的数字。", "确定")
    web = web_server()
    type_text(str(web.server_address[1]))
    click(button(window, "按钮_测试连接"))
    answer_message(app, "该服务器地址和端口上回应的不是 PostgreSQL 数据库服务器，请检查服务器地址和端口。",
                   "确定")
    web.shutdown()
    clear_and_type(button(window, "编辑框_端口"), str(url.port))
    click(button(window, "按钮_测试连接"))
    answer_message(app, "用户名或密码不正确，服务器拒绝登录。", "确定")
    clear_and_type(button(window, "编辑框_密码"), url.password, length=len("not-the-password"))
    click(button(window, "按钮_测试连接"))
    answer_message(app, "连接成功。数据库是空的，程序下次启动时会在其中建立数据表和管理员账户。",
                   "确定")
    click(button(window, "复选框_记住密码"))
    click(button(window, "按钮_确定"))
    # No keyring runs here: the password goes to a file only the user can read, never into
    # the settings file.
    config = os.path.join(os.environ["XDG_CONFIG_HOME"], "Morvane")
    kept = os.path.join(config, "Morvane", "server-password.json")
    answer_message(app, "设置已保存，程序下次启动时生效。\n密码保存在只有您能读的文件中：" + kept,
                   "确定")
    wait_for(lambda: not find(app, description="DatabaseSettingsWindow"),
             what="the window to close")
    assert os.stat(kept).st_mode & 0o777 == 0o600, oct(os.stat(kept).st_mode)
    with open(os.path.join(config, "Morvane.conf"), encoding="utf-8") as settings:
        assert url.password not in settings.read(), "the password is in the settings file"


def book_receipt(app, main):
    click(button(main, "工具条1_0"))
    click(button(main, "辅_工具条_3"))
    for name, text in (("编辑框_单位入库", "supplier"), ("组合框_分类", "metal")):
        box = button(main, name)
        click(find(box, role=pyatspi.ROLE_TEXT) or box)
        type_text(text)
    grid = find(main, description="显示数据")
    set_grid_cell(grid, 1, 0, "ALU")
    set_grid_cell(grid, 1, 2, "10")
    set_grid_cell(grid, 1, 3, "pc")
    click(button(main, "辅_工具条_4"))
    no_message(app)


def run_on_server(binary, url, database):
    # The per-user settings go to the run's directory (see ProgramRun).
    with ProgramRun(binary) as run:
        home = run.home
        program, app = run.start()
        log_in(app, "admin", "admin")
        choose_server(app, main_window(app), url, database)
        assert_still_running(program, app)
        assert psql(url, database, "SELECT count(*) FROM information_schema.tables "
                                   "WHERE table_schema = 'public'") == [["0"]]

        click(button(main_window(app), "工具条1_9"))  # 退出
        wait_for(lambda: program.poll() is not None, what="the program to end")
        program, app = run.start()
        log_in(app, "admin", "admin")  # the first account, made on the server
        main = main_window(app)
        book_receipt(app, main)
        assert psql(url, database, "SELECT 原材料名字, 数量 FROM yclnote WHERE 单据号='00000001' "
                                   "AND 正负='入库'") == [["ALU", "10"]]
        click(button(main, "工具条1_2"))
        stock = find(main, description="超级列表框1")
        wait_for(lambda: stock.queryTable().nRows == 1, what="one stock row")
        assert count_rows(home, "yclnote") == 0, "the receipt went into the file"


def main():
    binary = sys.argv[1]
    url = server_url()
    database = "mvaccept_%d" % os.getpid()
    psql(url, "postgres", "DROP DATABASE IF EXISTS %s" % database)
    psql(url, "postgres", "CREATE DATABASE %s ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C' "
                          "TEMPLATE template0" % database)
    try:
        run_on_server(binary, url, database)
        print("1 passed, 0 failed")
    finally:
        psql(url, "postgres", "DROP DATABASE IF EXISTS %s WITH (FORCE)" % database)


if __name__ == "__main__":
    main()
