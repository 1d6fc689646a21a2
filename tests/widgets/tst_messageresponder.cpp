// The real message boxes: buttons, default, Escape button and icon per message code, and the
// answer codes of the buttons. No dialog is shown.

#include "widgets/widgetmessageresponder.h"

#include <QTest>

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
};

QTEST_MAIN(TestMessageResponder)
#include "tst_messageresponder.moc"
