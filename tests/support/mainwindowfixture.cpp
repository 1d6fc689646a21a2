#include "mainwindowfixture.h"

#include "common/session.h"

#include <QTest>

namespace mv::test {

MainWindowFixture::MainWindowFixture()
{
    session() = Session{u"张三"_qs, true, true};
}

void MainWindowFixture::open(QWidget* login)
{
    window.reset();
    window = std::make_unique<MainWindow>(store.connection(), login);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

} // namespace mv::test
