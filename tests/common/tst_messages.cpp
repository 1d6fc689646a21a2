// The message service and the scripted responder the other tests rely on.

#include "common/messages.h"
#include "support/scriptedresponder.h"

#include <QTest>

using namespace mv;
using mv::test::ScriptedResponder;

class TestMessages : public QObject
{
    Q_OBJECT
private slots:
    void withoutResponderNothingBlocks();
    void recordsMessagesWithTheDefaultTitle();
    void harmlessDefaultAnswers();
    void queuedAnswersInOrder();
    void restoresThePreviousResponder();
};

void TestMessages::withoutResponderNothingBlocks()
{
    QCOMPARE(messageResponder(), nullptr);
    QCOMPARE(msgBox(QStringLiteral("测试"), MsgYesNo), int(AnswerOk));
    QVERIFY(!inputBox(QStringLiteral("输入"), QString(), QStringLiteral("x")).accepted);
    QVERIFY(openFileName(QString(), QString(), QString()).isEmpty());
    QVERIFY(saveFileName(QString(), QString(), QString()).isEmpty());
}

void TestMessages::recordsMessagesWithTheDefaultTitle()
{
    ScriptedResponder responder;
    msgBox(QStringLiteral("请在下面选择你要查询的物品！"));
    msgBox(QStringLiteral("没有这用户"), MsgOk, QString());
    QCOMPARE(responder.messages.size(), 2);
    QCOMPARE(responder.messages.at(0).title, QStringLiteral("信息："));
    QCOMPARE(responder.messages.at(0).code, int(MsgOk));
    QCOMPARE(responder.messages.at(1).title, QString());
    QCOMPARE(responder.lastText(), QStringLiteral("没有这用户"));
}

void TestMessages::harmlessDefaultAnswers()
{
    ScriptedResponder responder;
    QCOMPARE(msgBox(QStringLiteral("a"), MsgOk), int(AnswerOk));
    QCOMPARE(msgBox(QStringLiteral("b"), MsgOkInfo), int(AnswerOk));
    QCOMPARE(msgBox(QStringLiteral("c"), MsgOkCancelWarn), int(AnswerCancel));
    QCOMPARE(msgBox(QStringLiteral("d"), MsgYesNo), int(AnswerNo));
    QVERIFY(!inputBox(QStringLiteral("p"), QStringLiteral("t"), QStringLiteral("i")).accepted);
    QVERIFY(saveFileName(QStringLiteral("c"), QStringLiteral("/tmp"), QStringLiteral("*.xls"))
                .isEmpty());
    QCOMPARE(responder.inputs.size(), 1);
    QCOMPARE(responder.inputs.at(0).initial, QStringLiteral("i"));
    QCOMPARE(responder.fileDialogs.size(), 1);
    QVERIFY(responder.fileDialogs.at(0).save);
    QCOMPARE(responder.fileDialogs.at(0).filter, QStringLiteral("*.xls"));
}

void TestMessages::queuedAnswersInOrder()
{
    ScriptedResponder responder;
    responder.queueAnswer(AnswerYes);
    responder.queueAnswer(AnswerOk);
    responder.queueInput({true, QStringLiteral("新密码")});
    responder.queueFileName(QStringLiteral("/tmp/a.xls"));
    QCOMPARE(msgBox(QStringLiteral("1"), MsgYesNo), int(AnswerYes));
    QCOMPARE(msgBox(QStringLiteral("2"), MsgOkCancelWarn), int(AnswerOk));
    QCOMPARE(msgBox(QStringLiteral("3"), MsgOkCancelWarn), int(AnswerCancel)); // queue empty
    const InputAnswer answer = inputBox(QStringLiteral("p"), QString(), QString());
    QVERIFY(answer.accepted);
    QCOMPARE(answer.text, QStringLiteral("新密码"));
    QCOMPARE(openFileName(QString(), QString(), QString()), QStringLiteral("/tmp/a.xls"));
    QVERIFY(!responder.fileDialogs.at(0).save);
}

void TestMessages::restoresThePreviousResponder()
{
    ScriptedResponder outer;
    {
        ScriptedResponder inner;
        QCOMPARE(messageResponder(), &inner);
        msgBox(QStringLiteral("inner"));
        QCOMPARE(inner.messages.size(), 1);
    }
    QCOMPARE(messageResponder(), &outer);
    QVERIFY(outer.messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
