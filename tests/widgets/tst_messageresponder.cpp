// The real message boxes: buttons, default, Escape button and icon per message code, and the
// answer codes of the buttons; the file dialog kept between uses.

#include "common/filesuffix.h"
#include "widgets/widgetmessageresponder.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace mv;

class TestMessageResponder : public QObject
{
    Q_OBJECT

private slots:
    void layoutPerCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("escape");
        QTest::addColumn<int>("icon");
        using B = QMessageBox;
        QTest::newRow("ok") << 0 << int(B::Ok) << int(B::Ok) << int(B::NoIcon);
        QTest::newRow("yes/no") << 4 << int(B::Yes | B::No) << int(B::No) << int(B::Question);
        QTest::newRow("ok/cancel warning")
            << 0x31 << int(B::Ok | B::Cancel) << int(B::Cancel) << int(B::Warning);
        QTest::newRow("ok information") << 0x40 << int(B::Ok) << int(B::Ok) << int(B::Information);
        QTest::newRow("yes/no/cancel question")
            << 0x23 << int(B::Yes | B::No | B::Cancel) << int(B::Cancel) << int(B::Question);
        QTest::newRow("ok stop") << 0x10 << int(B::Ok) << int(B::Ok) << int(B::Critical);
    }

    void layoutPerCode()
    {
        QFETCH(int, code);
        QFETCH(int, buttons);
        QFETCH(int, escape);
        QFETCH(int, icon);
        const MessageBoxLayout layout = messageBoxLayout(code);
        QCOMPARE(int(layout.buttons), buttons);
        QCOMPARE(int(layout.escapeButton), escape);
        QCOMPARE(int(layout.icon), icon);
        QVERIFY(layout.buttons & layout.defaultButton);
    }

    void answers()
    {
        QCOMPARE(messageAnswer(QMessageBox::Ok), 0);
        QCOMPARE(messageAnswer(QMessageBox::Cancel), 1);
        QCOMPARE(messageAnswer(QMessageBox::Abort), 2);
        QCOMPARE(messageAnswer(QMessageBox::Retry), 3);
        QCOMPARE(messageAnswer(QMessageBox::Ignore), 4);
        QCOMPARE(messageAnswer(QMessageBox::Yes), 5);
        QCOMPARE(messageAnswer(QMessageBox::No), 6);
        // Escape on a question answers No; on OK/Cancel, Cancel.
        QCOMPARE(messageAnswer(messageBoxLayout(MsgYesNo).escapeButton), int(AnswerNo));
        QCOMPARE(messageAnswer(messageBoxLayout(MsgOkCancelWarn).escapeButton), int(AnswerCancel));
        QCOMPARE(messageAnswer(messageBoxLayout(MsgYesNo).defaultButton), int(AnswerYes));
    }

    // One dialog saves every proposed file, and each use starts from its own caption, filter
    // and proposal, not from the name typed at the last use.
    void saveDialogKeptButStartedAfresh()
    {
        QTemporaryDir dir;
        QWidget window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        WidgetMessageResponder responder;
        QList<QFileDialog*> dialogs;
        QStringList seen;
        const auto answer = [&](const QString& typed, const QString& type = {}) {
            QTimer::singleShot(0, &window, [&, typed, type] {
                auto* dialog = window.findChild<QFileDialog*>();
                dialogs << dialog;
                seen << dialog->windowTitle() + u' ' + dialog->selectedNameFilter() + u' ' +
                            QFileInfo(dialog->selectedFiles().value(0)).fileName();
                if (typed.isEmpty())
                    return dialog->reject();
                if (!type.isEmpty())
                    dialog->selectNameFilter(type);
                // Typed into the name box, which keeps the focus.
                auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_qs);
                name->setFocus();
                name->setText(typed);
                static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
            });
        };

        // A name typed without the extension gets the chosen type's, even with a dot in it.
        answer(u"月末"_qs);
        QCOMPARE(responder.fileName(true, u"导出到 Excel 文件"_qs, dir.filePath(u"库存.xls"_qs),
                                    u"Excel 97-2003 工作簿 (*.xls)"_qs),
                 dir.filePath(u"月末.xls"_qs));
        const QString types = u"Excel 97-2003 工作簿 (*.xls);;Excel 工作簿 (*.xlsx)"_qs;
        answer(u"月末12.10"_qs, u"Excel 工作簿 (*.xlsx)"_qs);
        QCOMPARE(
            responder.fileName(true, u"导出到 Excel 文件"_qs, dir.filePath(u"库存.xls"_qs), types),
            dir.filePath(u"月末12.10.xlsx"_qs));
        answer(u"again.XLSX"_qs);
        QCOMPARE(
            responder.fileName(true, u"导出到 Excel 文件"_qs, dir.filePath(u"库存.xls"_qs), types),
            dir.filePath(u"again.XLSX"_qs));
        QCOMPARE(withChosenSuffix(u"/a/b"_qs, u"所有文件 (*)"_qs, u"所有文件 (*)"_qs), u"/a/b"_qs);
        answer({});
        QCOMPARE(responder.fileName(true, u"导出PDF"_qs, dir.filePath(u"表.pdf"_qs),
                                    u"PDF 文件 (*.pdf)"_qs),
                 QString());
        QCOMPARE(seen, (QStringList{u"导出到 Excel 文件 Excel 97-2003 工作簿 (*.xls) 库存.xls"_qs,
                                    u"导出到 Excel 文件 Excel 97-2003 工作簿 (*.xls) 库存.xls"_qs,
                                    u"导出到 Excel 文件 Excel 97-2003 工作簿 (*.xls) 库存.xls"_qs,
                                    u"导出PDF PDF 文件 (*.pdf) 表.pdf"_qs}));
        QCOMPARE(dialogs.size(), 4);
        QCOMPARE(dialogs.at(0), dialogs.at(3));
    }

    // The list of a choice is wide enough for its longest item: a backup's name and time.
    void choiceShowsItsItemsWhole()
    {
        const QStringList items{u"2026年12月10日    （2026年12月10日7时0分29秒，150.8 MB）"_qs,
                                u"月末"_qs};
        WidgetMessageResponder responder;
        bool whole = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto* list = dialog->findChild<QListView*>();
            const int needed = list->fontMetrics().horizontalAdvance(items.first());
            whole = list->viewport()->width() > needed;
            dialog->accept();
        });
        QCOMPARE(responder.choice(u"请选择要恢复的备份："_qs, u"数据恢复"_qs, items), 0);
        QVERIFY(whole);
    }
};

QTEST_MAIN(TestMessageResponder)
#include "tst_messageresponder.moc"
