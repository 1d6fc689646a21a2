#!/usr/bin/python3
"""An Access file found as db.mdb: the program asks before importing it. 否 ends the program
and leaves the file as it was; 是 imports a sample file, shows the summary (which names the
tables the file lacked) and goes on to the login, with the Access file kept beside the new
database. Run by run_atspi.sh inside a private X server and D-Bus session."""

import hashlib
import os
import sqlite3
import subprocess
import sys

from atspi_support import (ProgramRun, find, find_label_containing, open_dialog,
                           press_button_named, wait_for)

SAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..",
                       "shared", "testdata", "access")


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def sample(name):
    return os.path.join(SAMPLES, name)


def ask(run, *arguments):
    program, app = run.start(*arguments)
    dialog = wait_for(lambda: open_dialog(app), what="the import question")
    wait_for(lambda: find_label_containing(dialog, "是 Access 格式"), what="the question text")
    wait_for(lambda: find_label_containing(dialog, os.path.join(run.home, "db.mdb")),
             what="the file named in the question")
    return program, app, dialog


def declining_ends_the_program(binary):
    with ProgramRun(binary, sample("DateTestDatabase.mdb")) as run:
        home = run.home
        before = digest(os.path.join(home, "db.mdb"))
        program, app, dialog = ask(run)
        press_button_named(dialog, "否", "No")
        wait_for(lambda: program.poll() is not None, what="the program to end")
        assert digest(os.path.join(home, "db.mdb")) == before
        assert sorted(os.listdir(home)) == ["db.mdb"], os.listdir(home)


def accepting_imports_and_reaches_the_login(binary):
    with ProgramRun(binary, sample("nwind.mdb")) as run:
        home = run.home
        before = digest(os.path.join(home, "db.mdb"))
        program, app, dialog = ask(run, "--import-charset", "CP1252")
        press_button_named(dialog, "是", "Yes")
        summary = wait_for(lambda: find_label_containing(app, "导入完成"), timeout=60,
                           what="the import summary")
        assert summary.name.find("Access 文件中没有的表：user、yclnote、ycldate、ycl、date") >= 0, \
            summary.name
        press_button_named(open_dialog(app), "OK", "确定", "好")
        wait_for(lambda: find(app, description="用户_组合框"), what="the login window")
        assert program.poll() is None
        assert digest(os.path.join(home, "db.mdb.access")) == before
        with sqlite3.connect(os.path.join(home, "db.mdb")) as db:
            assert db.execute("SELECT 用户 FROM [user]").fetchall() == [("admin",)]


def command_line_refuses_an_existing_database(binary):
    with ProgramRun(binary, sample("DateTestDatabase.mdb")) as run:
        home = run.home
        before = digest(os.path.join(home, "db.mdb"))
        done = subprocess.run([binary, "--import-mdb", sample("nwind.mdb"), "--home", home],
                              capture_output=True, text=True)
        assert done.returncode != 0 and "db.mdb" in done.stderr, done
        assert digest(os.path.join(home, "db.mdb")) == before


def main():
    binary = sys.argv[1]
    declining_ends_the_program(binary)
    accepting_imports_and_reaches_the_login(binary)
    command_line_refuses_an_existing_database(binary)
    print("3 passed, 0 failed")


if __name__ == "__main__":
    main()
