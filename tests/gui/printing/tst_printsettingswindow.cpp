// The print settings window, the formula windows, and the preview path through the module.

#include "forms/windowbuilder.h"
#include "gui/main/appearance.h"
#include "gui/printing/formulawindow.h"
#include "gui/printing/reportprint.h"
#include "print/registrystore.h"
#include "support/scriptedresponder.h"
#include "widgets/checklistbox.h"
#include "widgets/colourpicker.h"
#include "widgets/reportlist.h"
#include "widgets/tabcontrol.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace mv;
using mv::test::ScriptedResponder;

namespace {

// Runs action on the next modal window once it is shown (formula windows are modal).
void onModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        action(modal);
    });
}

} // namespace

class TestPrintSettingsWindow : public QObject
{
    Q_OBJECT
    QWidget owner;
    ReportList* list = nullptr;
    ReportPrint* module = nullptr;

    PrintSettingsWindow* open()
    {
        module->OpenReportPrint(list, 0, QString(), QStringLiteral(" 测试 "));
        return module->settingsWindow();
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(RegistryStore::registryFilePath());
        list = new ReportList(&owner);
        list->setColumns({{QStringLiteral("编号"), 50},
                          {QStringLiteral("名称"), 300},
                          {QStringLiteral("数量"), 50, Qt::AlignRight},
                          {QStringLiteral("单价"), 50}});
        for (int i = 1; i <= 6; ++i)
            list->model()->appendRow({QString::number(i), QStringLiteral("型材%1").arg(i),
                                      QString::number(i * 2), QStringLiteral("1.5")});
        module = new ReportPrint(&owner);
    }

    void initialStatesAndSchemes()
    {
        PrintSettingsWindow* w = open();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("打印预览设置"));
        QCOMPARE(w->printColumnTitles(true).size(), 4);
        auto* stats = control<CheckListBox>(w, QStringLiteral("统计列表框"));
        QCOMPARE(stats->count(), 4);
        QCOMPARE(stats->checkedCount(), 0);
        QVERIFY(!stats->isEnabled());
        QVERIFY(!control<QCheckBox>(w, QStringLiteral("保存配置"))->isChecked());
        QCOMPARE(control<QComboBox>(w, QStringLiteral("纸张"))->currentIndex(), 1);
        QVERIFY(control<QRadioButton>(w, QStringLiteral("纸张方向1"))->isChecked());
        QVERIFY(!control<ColourPicker>(w, QStringLiteral("奇行色"))->isEnabled());
        auto* rowLabel = control<QLabel>(w, QStringLiteral("标签10"));
        QCOMPARE(rowLabel->palette().color(QPalette::WindowText), QColor(192, 192, 192));
        QVERIFY(!rowLabel->isEnabled());

        control<QRadioButton>(w, QStringLiteral("自定义行"))->click();
        QVERIFY(control<ColourPicker>(w, QStringLiteral("奇行色"))->isEnabled());
        QVERIFY(!control<ColourPicker>(w, QStringLiteral("奇列色"))->isEnabled());
        QCOMPARE(rowLabel->palette().color(QPalette::WindowText), QColor(Qt::black));
        QVERIFY(rowLabel->isEnabled());
        control<QRadioButton>(w, QStringLiteral("打统计"))->click();
        QVERIFY(stats->isEnabled());

        // 全选 off empties the statistics list, on lists every column unticked.
        auto* all = control<QCheckBox>(w, QStringLiteral("打印列全选"));
        all->click();
        QCOMPARE(stats->count(), 0);
        all->click();
        QCOMPARE(stats->count(), 4);
        // One column unticked by hand unticks 全选, whose next click ticks all again.
        auto* columns = control<CheckListBox>(w, QStringLiteral("显示列表框"));
        columns->setChecked(1, false);
        QVERIFY(!all->isChecked());
        all->click();
        QCOMPARE(columns->checkedCount(), 4);
        QVERIFY(all->isChecked());

        // 打印 again brings the same window forward.
        QCOMPARE(open(), w);
        w->close();
        QTRY_VERIFY(!module->settingsWindow());
    }

    // At the program's font and skin every control lies inside its group box, tab page and
    // window, and the four line styles show four different pictures.
    void controlsShowWhole()
    {
        installChineseTexts(*qApp);
        applySkin(*qApp);
        PrintSettingsWindow* w = open();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        auto* tabs = control<TabControl>(w, QStringLiteral("选择夹1"));
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            for (QWidget* control : w->findChildren<QWidget*>()) {
                if (control->property(kKindProperty).isNull() || !control->isVisibleTo(w))
                    continue;
                QVERIFY2(control->parentWidget()->rect().contains(control->geometry()),
                         qPrintable(control->objectName()));
            }
        }
        QList<QImage> pictures;
        for (const QString& name : {u"线型1"_qs, u"类别2"_qs, u"线型3"_qs, u"线型4"_qs}) {
            const QIcon icon = control<QRadioButton>(w, name)->icon();
            QVERIFY(!icon.isNull());
            const QImage picture = icon.pixmap(20, 14).toImage();
            QVERIFY(!pictures.contains(picture));
            pictures << picture;
        }
        w->close();
        QTRY_VERIFY(!module->settingsWindow());
        qApp->setStyleSheet(QString());
    }

    void refusals()
    {
        ScriptedResponder responder;
        PrintSettingsWindow* w = open();
        auto* tabs = control<TabControl>(w, QStringLiteral("选择夹1"));
        control<QRadioButton>(w, QStringLiteral("打统计"))->click(); // enables the decimals box
        control<QLineEdit>(w, QStringLiteral("统计行保留位数"))->setText(QStringLiteral("3.1"));
        control<QPushButton>(w, QStringLiteral("打印预览"))->click();
        QCOMPARE(responder.lastText(), QStringLiteral("统计行保留位数的设置范围为-3到3之间！"));
        QCOMPARE(responder.messages.last().code, 0x40);
        QCOMPARE(responder.messages.last().title, QStringLiteral("提示"));
        QCOMPARE(tabs->currentIndex(), 2);
        QCOMPARE(w->focusWidget(), control<QLineEdit>(w, QStringLiteral("统计行保留位数")));
        control<QLineEdit>(w, QStringLiteral("统计行保留位数"))->setText(QStringLiteral("2"));

        control<QLineEdit>(w, QStringLiteral("字体大小"))->setText(QStringLiteral("-5"));
        control<QPushButton>(w, QStringLiteral("打印预览"))->click();
        QCOMPARE(w->focusWidget(), control<QLineEdit>(w, QStringLiteral("字体大小")));
        control<QLineEdit>(w, QStringLiteral("字体大小"))->setText(QStringLiteral("30"));

        control<QCheckBox>(w, QStringLiteral("打印列全选"))->click();
        control<QPushButton>(w, QStringLiteral("打印预览"))->click();
        QCOMPARE(responder.lastText(), QStringLiteral("没有选择要进行打印的列！"));
        QCOMPARE(tabs->currentIndex(), 1);
        control<QCheckBox>(w, QStringLiteral("打印列全选"))->click();

        control<QRadioButton>(w, QStringLiteral("打统计"))->click();
        control<QPushButton>(w, QStringLiteral("打印预览"))->click();
        QCOMPARE(responder.lastText(), QStringLiteral("没有选择要进行统计的列！"));
        QCOMPARE(tabs->currentIndex(), 2);
        QVERIFY(w->isVisible());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(control<QLineEdit>(w, QStringLiteral("字体大小")), Qt::Key_Escape);
        QTRY_VERIFY(!module->settingsWindow()); // Escape cancels, as 取消 does
    }

    void formulaWindows()
    {
        ScriptedResponder responder;
        PrintSettingsWindow* w = open();
        onModal([](QWidget* f) {
            QCOMPARE(f->windowTitle(), QStringLiteral("公式设置"));
            auto* columns = control<QComboBox>(f, QStringLiteral("列内容"));
            QCOMPARE(columns->count(), 4);
            control<QLineEdit>(f, QStringLiteral("新列名编辑框"))->setText(QStringLiteral("金额"));
            emit columns->activated(2);
            auto* formula = control<QLineEdit>(f, QStringLiteral("公式编辑框"));
            QCOMPARE(formula->text(), QStringLiteral("[数量]"));
            formula->setText(formula->text() + QStringLiteral("*[单价]"));
            control<QPushButton>(f, QStringLiteral("确定"))->click();
        });
        control<QPushButton>(w, QStringLiteral("添加"))->click();
        QCOMPARE(module->customColumns().size(), 1);
        QCOMPARE(w->customColumnList()->model()->text(0, 1), QStringLiteral("[数量]*[单价]"));

        // A list title is taken: the window stays until 取消.
        onModal([&responder](QWidget* f) {
            control<QLineEdit>(f, QStringLiteral("新列名编辑框"))->setText(QStringLiteral("名称"));
            control<QLineEdit>(f, QStringLiteral("公式编辑框"))->setText(QStringLiteral("1+1"));
            control<QPushButton>(f, QStringLiteral("确定"))->click();
            QCOMPARE(responder.lastText(), QStringLiteral("存在同名列！"));
            QCOMPARE(responder.messages.last().code, 0x10);
            QVERIFY(f->isVisible());
            control<QPushButton>(f, QStringLiteral("取消"))->click();
        });
        control<QPushButton>(w, QStringLiteral("添加"))->click();
        QCOMPARE(module->customColumns().size(), 1);

        // 修改 without a selection opens nothing; with one it edits that row. A custom column
        // ticked for the statistics stays ticked under its new name.
        control<TabControl>(w, QStringLiteral("选择夹1"))->setCurrentIndex(2);
        auto* stats = control<CheckListBox>(w, QStringLiteral("统计列表框"));
        QCOMPARE(stats->item(stats->count() - 1)->text(), QStringLiteral("金额"));
        stats->setChecked(stats->count() - 1, true);
        QAction* modify = w->findChild<QAction*>(QStringLiteral("右键菜单_修改"));
        QVERIFY(modify);
        modify->trigger();
        w->customColumnList()->setSelectedRow(0);
        onModal([](QWidget* f) {
            QCOMPARE(f->windowTitle(), QStringLiteral("修改公式设置"));
            auto* name = control<QLineEdit>(f, QStringLiteral("新列名编辑框"));
            QCOMPARE(name->text(), QStringLiteral("金额"));
            name->setText(QStringLiteral("总额"));
            control<QPushButton>(f, QStringLiteral("确定"))->click();
        });
        modify->trigger();
        QCOMPARE(module->customColumns().value(0).name, QStringLiteral("总额"));
        QCOMPARE(stats->item(stats->count() - 1)->text(), QStringLiteral("总额"));
        QVERIFY(stats->isChecked(stats->count() - 1));

        QAction* remove = w->findChild<QAction*>(QStringLiteral("右键菜单_删除"));
        w->customColumnList()->setSelectedRow(-1);
        remove->trigger();
        QCOMPARE(responder.lastText(), QStringLiteral("没有选择任何要删除的列名！"));
        w->customColumnList()->setSelectedRow(0);
        remove->trigger();
        QVERIFY(module->customColumns().isEmpty());
        QCOMPARE(stats->count(), 4);
        w->close();
        QTRY_VERIFY(!module->settingsWindow());
    }

    void previewSavesAndCancelReturns()
    {
        ScriptedResponder responder;
        PrintSettingsWindow* w = open();
        control<QLineEdit>(w, QStringLiteral("标题"))->setText(QStringLiteral("库存表"));
        control<QCheckBox>(w, QStringLiteral("保存配置"))->setChecked(true);
        control<QRadioButton>(w, QStringLiteral("打合计"))->click();
        QStringList previews;
        auto closing = connect(module, &ReportPrint::previewShown, this,
                               [&previews](QPrintPreviewDialog* dialog) {
                                   previews << dialog->windowTitle();
                                   QTimer::singleShot(0, dialog, &QDialog::reject);
                               });
        control<QPushButton>(w, QStringLiteral("打印预览"))->click();
        QCOMPARE(previews, QStringList{QStringLiteral("打印预览")});
        QVERIFY(!QGuiApplication::overrideCursor());
        QTRY_VERIFY(!module->settingsWindow());
        QVERIFY(module->progressWindow());
        QTRY_VERIFY(!module->progressWindow()->isVisible() &&
                    !module->progressWindow()->watching());

        // The saved set comes back, with 保存配置 ticked.
        w = open();
        QCOMPARE(control<QLineEdit>(w, QStringLiteral("标题"))->text(), QStringLiteral("库存表"));
        QVERIFY(control<QCheckBox>(w, QStringLiteral("保存配置"))->isChecked());

        // Too wide for 三十二开: Cancel returns to the settings on page 0, cursor restored.
        control<QComboBox>(w, QStringLiteral("纸张"))->setCurrentIndex(7);
        control<QRadioButton>(w, QStringLiteral("纸张方向0"))->setChecked(true);
        auto* tabs = control<TabControl>(w, QStringLiteral("选择夹1"));
        tabs->setCurrentIndex(2);
        control<QRadioButton>(w, QStringLiteral("打统计"))->click();
        auto* stats = control<CheckListBox>(w, QStringLiteral("统计列表框"));
        stats->setChecked(2, true);
        responder.queueAnswer(AnswerCancel);
        control<QPushButton>(w, QStringLiteral("打印预览"))->click();
        QCOMPARE(responder.messages.last().title, QStringLiteral("询问"));
        QCOMPARE(previews.size(), 1);
        QVERIFY(w->isVisible());
        QCOMPARE(tabs->currentIndex(), 0);
        // Back on the statistics page, the column ticked before is ticked still.
        tabs->setCurrentIndex(2);
        QCOMPARE(stats->checkedCount(), 1);
        QVERIFY(stats->isChecked(2));
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(!module->progressWindow()->isVisible());

        // OK fits the width and opens the preview.
        responder.queueAnswer(AnswerOk);
        control<QPushButton>(w, QStringLiteral("打印预览"))->click();
        QCOMPARE(previews.size(), 2);
        disconnect(closing);
        QTRY_VERIFY(!module->settingsWindow());
    }

    // A title made from what the list shows (a period) fills an empty title box and is never
    // kept: the next print of another period shows its own; a title the clerk typed is kept.
    void defaultTitleIsNotKept()
    {
        ScriptedResponder responder;
        const auto previewOnce = [&](const QString& defaultTitle, const QString& typed) {
            module->OpenReportPrint(list, 0, QString(), u"标题测试"_qs, defaultTitle);
            PrintSettingsWindow* w = module->settingsWindow();
            const QString shown = control<QLineEdit>(w, u"标题"_qs)->text();
            if (!typed.isEmpty())
                control<QLineEdit>(w, u"标题"_qs)->setText(typed);
            control<QCheckBox>(w, u"保存配置"_qs)->setChecked(true);
            const auto closing =
                connect(module, &ReportPrint::previewShown, this, [](QPrintPreviewDialog* dialog) {
                    QTimer::singleShot(0, dialog, &QDialog::reject);
                });
            control<QPushButton>(w, u"打印预览"_qs)->click();
            disconnect(closing);
            const bool closed = QTest::qWaitFor([&] { return !module->settingsWindow(); });
            return closed ? shown : u"(the settings window stayed open)"_qs;
        };
        QCOMPARE(previewOnce(u"月度汇总（一月）"_qs, {}), u"月度汇总（一月）"_qs);
        QCOMPARE(previewOnce(u"月度汇总（二月）"_qs, u"本厂汇总"_qs), u"月度汇总（二月）"_qs);
        QCOMPARE(previewOnce(u"月度汇总（三月）"_qs, {}), u"本厂汇总"_qs);
        QVERIFY2(responder.messages.isEmpty(), qPrintable(responder.lastText()));
    }
};

QTEST_MAIN(TestPrintSettingsWindow)
#include "tst_printsettingswindow.moc"
