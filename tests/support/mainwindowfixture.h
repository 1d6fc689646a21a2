#pragma once
// The main window as the window tests use it: a fresh data store (see tempdatastore.h), every
// message answered by a script, 张三 logged in with every right. Controls are found with
// control<T>(), the program's own lookup: a missing control ends the test program with its
// name, never a null pointer.

#include "forms/windowbuilder.h"
#include "gui/main/mainwindow.h"
#include "support/scriptedresponder.h"
#include "support/tempdatastore.h"

#include <QString>
#include <memory>

namespace mv::test {

class MainWindowFixture
{
public:
    MainWindowFixture();
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    // Builds and shows the main window (anew when one is open) on the store's data; login is
    // the window it goes back to on 重新登录.
    void open(QWidget* login = nullptr);

    template <class T> T* control(const char* name) const
    {
        return mv::control<T>(window.get(), QString::fromUtf8(name));
    }
    template <class T> T* control(const QString& name) const
    {
        return mv::control<T>(window.get(), name);
    }

    TempDataStore store;
    ScriptedResponder responder;
    std::unique_ptr<MainWindow> window; // closed before the responder and the store go
};

} // namespace mv::test
