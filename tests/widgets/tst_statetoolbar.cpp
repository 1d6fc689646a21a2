// The toolbar with per-button state flags: indexes count separators, flags 4 and 8 disable
// and hide, actions are named after the toolbar, clicks report their index.

#include "widgets/statetoolbar.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

using namespace mv;

class TestStateToolBar : public QObject
{
    Q_OBJECT

private:
    static QStringList auxiliaryCaptions()
    {
        return {u"打印"_qs, u"预览"_qs, u"-"_qs,    u"添加"_qs,     u"保存"_qs,
                u"修改"_qs, u"删除"_qs, u"-"_qs,    u"上一张"_qs,   u"下一张"_qs,
                u"-"_qs,    u"审核"_qs, u"统计"_qs, u"出入记录"_qs, u"查询"_qs};
    }

private slots:
    void indexesCountSeparators()
    {
        StateToolBar bar;
        bar.addButtons(auxiliaryCaptions());
        QCOMPARE(bar.buttonCount(), 15);
        QVERIFY(bar.isSeparator(2));
        QVERIFY(bar.isSeparator(7));
        QVERIFY(bar.isSeparator(10));
        QVERIFY(!bar.isSeparator(3));
        QCOMPARE(bar.buttonAction(13)->text(), u"出入记录"_qs);
        QCOMPARE(bar.buttonAction(15), nullptr);
        QCOMPARE(bar.buttonAction(-1), nullptr);
    }

    void onlySetTooltipsShow()
    {
        StateToolBar bar;
        bar.addButtons({u"采购入库"_qs, u"领料出库"_qs});
        bar.setButtonTooltip(0, u"原材料仓库 采购入库"_qs);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const auto shownTooltip = [&bar](int index) {
            QWidget* button = bar.widgetForAction(bar.buttonAction(index));
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(button, &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(shownTooltip(1), QString()); // not its caption
        QCOMPARE(shownTooltip(0), u"原材料仓库 采购入库"_qs);
    }

    void flagsDisableAndHide()
    {
        StateToolBar bar;
        bar.addButtons(auxiliaryCaptions());
        bar.addState(4, StateToolBar::Disabled);
        QVERIFY(!bar.isButtonEnabled(4));
        QVERIFY(bar.isButtonVisible(4));
        QCOMPARE(bar.state(4), 4);

        bar.addState(4, StateToolBar::Hidden);
        QCOMPARE(bar.state(4), 12);
        QVERIFY(!bar.isButtonVisible(4));
        QVERIFY(!bar.isButtonEnabled(4));

        // Removing one flag keeps the other.
        bar.removeState(4, StateToolBar::Disabled);
        QCOMPARE(bar.state(4), 8);
        QVERIFY(bar.isButtonEnabled(4));
        QVERIFY(!bar.isButtonVisible(4));
        bar.removeState(4, StateToolBar::Hidden);
        QVERIFY(bar.isButtonVisible(4));

        // Removing a flag that is not set changes nothing; indexes outside are ignored.
        bar.removeState(5, StateToolBar::Hidden);
        QVERIFY(bar.isButtonVisible(5) && bar.isButtonEnabled(5));
        bar.addState(99, StateToolBar::Hidden);
        QCOMPARE(bar.state(99), 0);

        // A separator hides as well.
        bar.addState(10, StateToolBar::Hidden);
        QVERIFY(!bar.isButtonVisible(10));
        QVERIFY(!bar.buttonAction(10)->isVisible());
    }

    void actionsNamedAfterToolbar()
    {
        StateToolBar bar;
        bar.setObjectName(u"辅_工具条"_qs);
        bar.addButtons(auxiliaryCaptions());
        QCOMPARE(bar.buttonAction(0)->objectName(), u"辅_工具条_0"_qs);
        QCOMPARE(bar.buttonAction(14)->objectName(), u"辅_工具条_14"_qs);
        QCOMPARE(bar.findChild<QAction*>(u"辅_工具条_2"_qs), bar.buttonAction(2));

        // Renaming the toolbar renames its actions and their buttons.
        bar.setObjectName(u"工具条1"_qs);
        QCOMPARE(bar.buttonAction(9)->objectName(), u"工具条1_9"_qs);
        auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(bar.buttonAction(9)));
        QVERIFY(button);
        QCOMPARE(button->objectName(), u"工具条1_9"_qs);
    }

    void clicksReportTheirIndex()
    {
        StateToolBar bar;
        bar.addButtons({u"采购入库"_qs, u"领料出库"_qs, u"-"_qs, u"退出"_qs});
        bar.setButtonTooltip(0, u"原材料仓库 采购入库"_qs);
        QCOMPARE(bar.buttonAction(0)->toolTip(), u"原材料仓库 采购入库"_qs);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));

        QSignalSpy clicked(&bar, &StateToolBar::buttonClicked);
        QTest::mouseClick(bar.widgetForAction(bar.buttonAction(3)), Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 3);

        // A disabled button does not click.
        bar.addState(1, StateToolBar::Disabled);
        QTest::mouseClick(bar.widgetForAction(bar.buttonAction(1)), Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        bar.removeState(1, StateToolBar::Disabled);
        bar.buttonAction(1)->trigger();
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(clicked.at(1).at(0).toInt(), 1);
    }
};

QTEST_MAIN(TestStateToolBar)
#include "tst_statetoolbar.moc"
