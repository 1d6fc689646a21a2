// The receipt and requisition pages driven through the real main window's toolbars with
// scripted message answers: add, save, totals, refusals with their focus, stock check,
// paging, modification, deletion, audit, the stock list's 入库/领料 and the movement list.

#include "common/oledate.h"
#include "common/session.h"
#include "gui/documents/documentpage.h"
#include "gui/documents/documentpages.h"
#include "gui/main/mainwindow.h"
#include "gui/printing/reportprint.h"
#include "gui/stock/stockpage.h"
#include "support/mainwindowfixture.h"
#include "widgets/documentgrid.h"
#include "widgets/editbox.h"
#include "widgets/reportlist.h"
#include "widgets/statetoolbar.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace mv;
using mv::test::MainWindowFixture;

namespace {

// Controls of one page, by objectName.
struct Page
{
    int mainButton;
    const char* number;
    const char* party;
    const char* category;
    const char* maker;
    const char* grid;
};
const Page kReceipt{
    0, "编辑框_单号入库", "编辑框_单位入库", "组合框_分类", "编辑框_制单人_入库", "显示数据"};
const Page kRequisition{
    1, "编辑框_单号出库", "编辑框_出库_项目", "组合框_出库分类", "编辑框_制单人_出库", "显示数据1"};

// Types text as key presses with their text, as a keyboard (or an input method) delivers it,
// Chinese characters included.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

class TestDocumentPage : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void receiptAddSaveAndTotals();
    void receiptRefusalsKeepTheForm();
    void requisitionStockCheck();
    void numberTakenMeanwhile();
    void pagingThroughThreeAndPastTheEnd();
    void modification();
    void deletingTheOnlyReceipt();
    void audit();
    void stockListAndMovementList();
    void printingFollowsTheFormMode();
    void longNamesReadWhole();
    void exitAsksWhileAFormIsTyped();
    void unsavedDocumentOfferedBack();
    void failedReadsAreReported();

private:
    template <class T> T* control(const char* name) { return m_f->control<T>(name); }
    StateToolBar* aux() { return control<StateToolBar>("辅_工具条"); }
    DocumentGrid* grid(const Page& p) { return control<DocumentGrid>(p.grid); }
    QString number(const Page& p) { return control<QLineEdit>(p.number)->text(); }
    // Presses an auxiliary button the way a user can: only a visible, enabled one.
    void press(int index)
    {
        QVERIFY2(aux()->isButtonVisible(index) && aux()->isButtonEnabled(index),
                 qPrintable(QString::number(index)));
        aux()->buttonAction(index)->trigger();
    }
    void enter(const Page& p) { m_f->window->onMainButton(p.mainButton); }
    // 添加, the header and the lines, then 保存.
    void addDocument(const Page& p, const QList<QStringList>& lines,
                     const QString& party = u"甲"_qs)
    {
        enter(p);
        press(AuxAdd);
        control<QComboBox>(p.party)->setCurrentText(party);
        control<QComboBox>(p.category)->setCurrentText(u"铝材"_qs);
        setLines(p, lines);
        press(AuxSave);
    }
    void setLines(const Page& p, const QList<QStringList>& lines)
    {
        DocumentGrid* g = grid(p);
        g->setRowCount(1);
        for (const QStringList& cells : lines) {
            const int row = g->rowCount();
            g->insertRowAt(row);
            for (int c = 0; c < cells.size(); ++c)
                g->setCellText(row, c, cells.at(c));
        }
    }
    QStringList column(const Page& p, int c)
    {
        QStringList texts;
        for (int r = 1; r < grid(p)->rowCount(); ++r)
            texts.append(grid(p)->cellText(r, c));
        return texts;
    }
    int stored(const QString& sql)
    {
        auto rows = m_f->store.connection().query(sql);
        return rows ? rows->value(0).toInt() : -1;
    }
    void stockIn(const QString& quantity)
    {
        m_f->store.addLine(u"角铝"_qs, u"A1"_qs, u"入库"_qs, quantity, u"2010-01-01"_qs, u"铝材"_qs,
                           u"支"_qs, u"00000050"_qs);
    }

    std::unique_ptr<MainWindowFixture> m_f;
};

void TestDocumentPage::init()
{
    m_f = std::make_unique<MainWindowFixture>();
    m_f->open();
}

void TestDocumentPage::cleanup()
{
    m_f.reset();
}

void TestDocumentPage::receiptAddSaveAndTotals()
{
    enter(kReceipt);
    QCOMPARE(grid(kReceipt)->rowCount(), 2); // an empty database: the totals row alone
    QCOMPARE(grid(kReceipt)->cellText(1, 0), u"合计 ：0    "_qs);
    m_f->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_f->window.get()));
    press(AuxAdd);
    QCOMPARE(number(kReceipt), u"00000001"_qs);
    QCOMPARE(control<QLineEdit>(kReceipt.maker)->text(), u"张三"_qs);
    // Tab from where 添加 leaves the keyboard leads into the header.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(kReceipt.number));
    QVERIFY(!aux()->isButtonEnabled(AuxAdd));
    QVERIFY(control<QPushButton>("按钮7")->isVisible());
    control<QDateEdit>("YCLRK_日期框")->setDate(QDate(2010, 1, 5));
    control<QComboBox>(kReceipt.party)->setCurrentText(u"甲"_qs);
    control<QComboBox>(kReceipt.category)->setCurrentText(u"铝材"_qs);
    setLines(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"2"_qs, u"支"_qs, u"1.5"_qs, u"备注'有引号"_qs},
                        {u"玻璃"_qs, u"5mm"_qs, u"3"_qs, u"块"_qs, u"0.3333"_qs}});
    press(AuxSave);
    QVERIFY2(m_f->responder.messages.isEmpty(), qPrintable(m_f->responder.lastText()));
    QVERIFY(grid(kReceipt)->isReadOnly());
    QVERIFY(aux()->isButtonEnabled(AuxAdd) && !aux()->isButtonEnabled(AuxSave));
    QCOMPARE(column(kReceipt, 6), (QStringList{u"3.00"_qs, u"1.00"_qs, QString()}));
    QCOMPARE(column(kReceipt, 0).last(), u"合计 ：4.00    "_qs);
    QCOMPARE(column(kReceipt, 5).first(), u"备注'有引号"_qs);
    QCOMPARE(m_f->control<ReportList>(u"超级列表框1"_qs)->model()->rowCount(), 2);

    // The next receipt takes the number after it and today's date, not the stored one; Enter
    // loads by number only outside add mode.
    setClockForTests(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    press(AuxAdd);
    setClockForTests(QDateTime());
    QCOMPARE(number(kReceipt), u"00000002"_qs);
    QCOMPARE(control<QDateEdit>("YCLRK_日期框")->date(), QDate(2026, 3, 2));
    control<QLineEdit>(kReceipt.number)->setText(u"00000001"_qs);
    emit control<EditBox>(kReceipt.number)->enterPressed();
    QCOMPARE(grid(kReceipt)->rowCount(), 2);
    // The number typed counts as a change: leaving the new receipt asks first.
    m_f->responder.clear();
    enter(kReceipt);
    QCOMPARE(m_f->responder.lastText(), u"当前单据已修改，是否放弃修改？"_qs);
    QVERIFY(!aux()->isButtonEnabled(AuxAdd) && grid(kReceipt)->rowCount() == 2);
    m_f->responder.queueAnswer(AnswerYes);
    enter(kReceipt);
    QVERIFY(aux()->isButtonEnabled(AuxAdd));
    control<QLineEdit>(kReceipt.number)->setText(u"00000001"_qs);
    emit control<EditBox>(kReceipt.number)->enterPressed();
    QCOMPARE(column(kReceipt, 0), (QStringList{u"角铝"_qs, u"玻璃"_qs, u"合计 ：4.00    "_qs}));
    // An unknown number is said so and leaves the page as it was.
    control<QLineEdit>(kReceipt.number)->setText(u"００００００09"_qs);
    emit control<EditBox>(kReceipt.number)->enterPressed();
    QCOMPARE(m_f->responder.lastText(), u"没有单号为 00000009 的单据"_qs);
    QCOMPARE(number(kReceipt), u"00000001"_qs);
    QCOMPARE(control<QLineEdit>(kReceipt.number)->selectedText(), u"00000001"_qs);
    QCOMPARE(column(kReceipt, 0).size(), 3);

    // A long receipt saved shows its totals row, not only its first lines.
    addDocument(kReceipt, QList<QStringList>(20, {u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs}));
    const DocumentGrid* lines = grid(kReceipt);
    const QModelIndex totals = lines->model()->index(lines->rowCount() - 1, 0);
    QVERIFY(lines->cellText(totals.row(), 0).startsWith(u"合计"_qs));
    QVERIFY(lines->viewport()->rect().contains(lines->visualRect(totals)));
}

void TestDocumentPage::receiptRefusalsKeepTheForm()
{
    stockIn(u"1"_qs);
    addDocument(kRequisition, {{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs}});
    QCOMPARE(number(kRequisition), u"00000001"_qs);
    // The requisition's number does not block a receipt of the same number.
    addDocument(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}});
    QCOMPARE(number(kReceipt), u"00000001"_qs);
    m_f->responder.clear();

    enter(kReceipt);
    press(AuxAdd);
    setLines(kReceipt,
             {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}, {u"角铝"_qs, u"A1"_qs, {}, u"支"_qs}});
    press(AuxSave);
    QCOMPARE(m_f->responder.lastText(), u"供应单位 不能为空"_qs);
    QWidget* party = control<QWidget>(kReceipt.party);
    QWidget* focus = m_f->window->focusWidget();
    QVERIFY(focus == party || party->isAncestorOf(focus));
    control<QComboBox>(kReceipt.party)->setCurrentText(u"甲"_qs);
    control<QComboBox>(kReceipt.category)->setCurrentText(u"铝材"_qs);
    press(AuxSave);
    QCOMPARE(m_f->responder.messages.last().title, u"添加失败"_qs);
    QCOMPARE(m_f->responder.lastText(), u"表单中重要参数不能为空"_qs);
    // The missing quantity is the cell to fill in.
    QCOMPARE(grid(kReceipt)->currentRow(), 2);
    QCOMPARE(grid(kReceipt)->currentColumn(), int(LineQuantity));
    // Nothing stored; the form keeps add mode and everything typed.
    QCOMPARE(stored(u"SELECT COUNT(*) FROM ycldate WHERE 出入='入'"_qs), 1);
    QVERIFY(!aux()->isButtonEnabled(AuxAdd));
    QCOMPARE(column(kReceipt, 0), (QStringList{u"角铝"_qs, u"角铝"_qs}));
    QCOMPARE(number(kReceipt), u"00000002"_qs);

    // A quantity the stock counts as less than typed is asked about first: 否 keeps the form;
    // 是 saves, and the stock counts what the question said.
    setLines(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"２.５"_qs, u"支"_qs}});
    press(AuxSave);
    QCOMPARE(m_f->responder.lastText(), u"库存只按整数计算：第 1 行的数量 2.5 计为 2。"
                                        u"\n要这样保存吗？选“否”可以改正数量。"_qs);
    QCOMPARE(stored(u"SELECT COUNT(*) FROM ycldate WHERE 出入='入'"_qs), 1);
    QVERIFY(!grid(kReceipt)->isReadOnly());
    m_f->responder.queueAnswer(AnswerYes);
    press(AuxSave);
    QVERIFY(grid(kReceipt)->isReadOnly());
    const ReportListModel& stock = *m_f->control<ReportList>(u"超级列表框1"_qs)->model();
    QCOMPARE(stock.rowCount(), 1);
    QCOMPARE(stock.text(0, 4), u"7"_qs); // 1 in, 1 out, 5 and 2 of 2.5 in
}

void TestDocumentPage::requisitionStockCheck()
{
    stockIn(u"10"_qs);
    addDocument(kRequisition, {{u"角铝"_qs, u"A1"_qs, u"11"_qs, u"支"_qs}});
    QCOMPARE(m_f->responder.lastText(),
             u"产品名称：角铝\r\n产品型号：A1\r\n库中不够 只有10支 无法领出！"_qs);
    QCOMPARE(m_f->responder.messages.last().title, u"错误"_qs);
    setLines(kRequisition, {{u"角铝"_qs, u"A1"_qs, u"6"_qs, u"支"_qs},
                            {u"角铝"_qs, u"A1"_qs, u"6"_qs, u"支"_qs}});
    press(AuxSave);
    QVERIFY(m_f->responder.lastText().startsWith(u"产品名称：角铝"_qs));
    QCOMPARE(stored(u"SELECT COUNT(*) FROM yclnote WHERE 正负='出库'"_qs), 0);
    // The line the cursor is on shows its item's stock under the grid before any refusal.
    grid(kRequisition)->setCurrentCell(1, LineQuantity);
    QCOMPARE(control<QLabel>("显示数据1_现存")->text(), u"现存：角铝 A1 共 10 支"_qs);
    m_f->responder.clear();
    setLines(kRequisition, {{u"角铝"_qs, u"A1"_qs, u"10"_qs, u"支"_qs}});
    press(AuxSave);
    QVERIFY2(m_f->responder.messages.isEmpty(), qPrintable(m_f->responder.lastText()));
    QVERIFY(grid(kRequisition)->isReadOnly());
    QCOMPARE(number(kRequisition), u"00000001"_qs);
    QCOMPARE(stored(u"SELECT COUNT(*) FROM [date] WHERE x='甲'"_qs), 1);
    // Reached by paging at once: back past the start and forward again.
    stockIn(u"1"_qs);
    addDocument(kRequisition, {{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs}});
    QCOMPARE(number(kRequisition), u"00000002"_qs);
    // The requisition just saved is modified at once: the version kept is the one shown.
    press(AuxModify);
    press(AuxSave);
    QCOMPARE(m_f->responder.lastText(), u"00000002修改成功！"_qs);
    press(AuxPrevious);
    QCOMPARE(number(kRequisition), u"00000001"_qs);
    QVERIFY(!aux()->isButtonEnabled(AuxPrevious));
    press(AuxNext);
    QCOMPARE(number(kRequisition), u"00000002"_qs);
    QVERIFY(!aux()->isButtonEnabled(AuxNext));
}

// Another clerk saves a receipt under the number 添加 gave this one: this one is saved under
// the next free number, and the clerk told so. A stored number typed by the clerk is refused.
void TestDocumentPage::numberTakenMeanwhile()
{
    enter(kReceipt);
    press(AuxAdd);
    QCOMPARE(number(kReceipt), u"00000001"_qs);
    m_f->store.exec(u"INSERT INTO ycldate (单号, 出入) VALUES ('00000001', '入')"_qs);
    control<QComboBox>(kReceipt.party)->setCurrentText(u"甲"_qs);
    control<QComboBox>(kReceipt.category)->setCurrentText(u"铝材"_qs);
    setLines(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}});
    press(AuxSave);
    QCOMPARE(m_f->responder.lastText(),
             u"单据号 00000001 已被其他用户使用，本单已保存为 00000002。"_qs);
    QCOMPARE(number(kReceipt), u"00000002"_qs);
    QVERIFY(grid(kReceipt)->isReadOnly());
    QCOMPARE(stored(u"SELECT COUNT(*) FROM yclnote WHERE 单据号='00000002'"_qs), 1);

    press(AuxAdd);
    control<QLineEdit>(kReceipt.number)->setText(u"00000001"_qs);
    control<QComboBox>(kReceipt.party)->setCurrentText(u"甲"_qs);
    control<QComboBox>(kReceipt.category)->setCurrentText(u"铝材"_qs);
    setLines(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs}});
    press(AuxSave);
    QCOMPARE(m_f->responder.lastText(), u"单据号重复，无法录入系统！"_qs);
    QVERIFY(!grid(kReceipt)->isReadOnly());
    QCOMPARE(number(kReceipt), u"00000001"_qs);
}

void TestDocumentPage::pagingThroughThreeAndPastTheEnd()
{
    for (const char* quantity : {"1", "2", "3"})
        addDocument(kReceipt,
                    {{u"角铝"_qs, u"A1"_qs, QString::fromUtf8(quantity), u"支"_qs, u"1"_qs}});
    enter(kReceipt);
    QCOMPARE(number(kReceipt), u"00000003"_qs);
    QVERIFY(aux()->isButtonEnabled(AuxPrevious) && aux()->isButtonEnabled(AuxNext));
    press(AuxNext);
    QCOMPARE(number(kReceipt), QString());
    QCOMPARE(column(kReceipt, 0), QStringList{u"合计 ：0    "_qs});
    QCOMPARE(grid(kReceipt)->placeholderText(), QString()); // past the end, not none at all
    QCOMPARE(control<QComboBox>(kReceipt.party)->currentText(), u"甲"_qs);
    QVERIFY(aux()->isButtonEnabled(AuxNext));
    press(AuxPrevious);
    QCOMPARE(number(kReceipt), u"00000003"_qs);
    press(AuxPrevious);
    press(AuxPrevious);
    QCOMPARE(number(kReceipt), u"00000001"_qs);
    QCOMPARE(column(kReceipt, 2).first(), u"1"_qs);
    QVERIFY(!aux()->isButtonEnabled(AuxPrevious));
    press(AuxNext);
    QCOMPARE(column(kReceipt, 0).last(), u"合计 ：2    "_qs);
    // A new receipt comes after the last one stored: 上一张 leads back to that one.
    press(AuxAdd);
    press(AuxPrevious);
    QCOMPARE(number(kReceipt), u"00000003"_qs);
}

void TestDocumentPage::modification()
{
    addDocument(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs, u"2"_qs}});
    addDocument(kReceipt, {{u"玻璃"_qs, u"5mm"_qs, u"1"_qs, u"块"_qs, u"1"_qs}});
    m_f->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_f->window.get()));
    press(AuxPrevious);
    QCOMPARE(number(kReceipt), u"00000001"_qs);
    m_f->responder.clear();
    press(AuxModify);
    QCOMPARE(column(kReceipt, 0), QStringList{u"角铝"_qs}); // the totals row is gone
    // Its header fixed, Tab leads to its lines.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), grid(kReceipt));
    // Refused: the stored receipt stays as it was and modify mode stays.
    grid(kReceipt)->setCellText(1, 2, QString());
    press(AuxSave);
    QCOMPARE(m_f->responder.messages.size(), 2);
    QCOMPARE(m_f->responder.messages.at(0).text, u"表单中重要参数不能为空"_qs);
    QCOMPARE(m_f->responder.messages.at(1).text, u"00000001修改失败！"_qs);
    QCOMPARE(m_f->responder.messages.at(1).title, u"修改提示"_qs);
    QCOMPARE(stored(u"SELECT COUNT(*) FROM yclnote WHERE 单据号='00000001' AND 数量='5'"_qs), 1);
    QVERIFY(!aux()->isButtonEnabled(AuxModify));
    grid(kReceipt)->setCellText(1, 2, u"1e3"_qs);
    press(AuxSave);
    QCOMPARE(m_f->responder.messages.at(2).text, u"第 1 行的数量必须是大于 0 的数字"_qs);
    QCOMPARE(grid(kReceipt)->currentRow(), 1);
    QCOMPARE(grid(kReceipt)->currentColumn(), 2);
    // The line total follows the quantity as typed. Accepted: replaced, and shown as stored.
    grid(kReceipt)->item(1, 2)->setText(u"7"_qs);
    QCOMPARE(grid(kReceipt)->cellText(1, 6), u"14"_qs);
    press(AuxSave);
    QCOMPARE(m_f->responder.lastText(), u"00000001修改成功！"_qs);
    QCOMPARE(stored(u"SELECT COUNT(*) FROM yclnote WHERE 单据号='00000001'"_qs), 1);
    QCOMPARE(stored(u"SELECT COUNT(*) FROM yclnote WHERE 数量='7'"_qs), 1);
    QCOMPARE(number(kReceipt), u"00000001"_qs);
    QCOMPARE(column(kReceipt, 0).last(), u"合计 ：14    "_qs);
    QVERIFY(aux()->isButtonEnabled(AuxModify) && !aux()->isButtonEnabled(AuxSave));
    // Another clerk changes the receipt while it is being modified here: his version stays.
    press(AuxModify);
    m_f->store.exec(u"UPDATE yclnote SET 数量='8' WHERE 单据号='00000001'"_qs);
    grid(kReceipt)->setCellText(1, 2, u"9"_qs);
    press(AuxSave);
    QVERIFY(m_f->responder.messages.at(m_f->responder.messages.size() - 2)
                .text.contains(u"已被其他用户修改"_qs));
    QCOMPARE(stored(u"SELECT COUNT(*) FROM yclnote WHERE 数量='8'"_qs), 1);
}

void TestDocumentPage::deletingTheOnlyReceipt()
{
    // With no receipt at all the page says how to start one, until one is typed.
    const QString start = u"还没有入库单。点“添加”开第一张入库单。"_qs;
    enter(kReceipt);
    QCOMPARE(grid(kReceipt)->placeholderText(), start);
    addDocument(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"5"_qs, u"支"_qs, u"2"_qs}});
    QCOMPARE(grid(kReceipt)->placeholderText(), QString());
    // On a new receipt 删除 gives up what was typed; the stored one stays and is shown again.
    press(AuxAdd);
    setLines(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"9"_qs}});
    m_f->responder.clear();
    m_f->responder.queueAnswer(AnswerNo);
    press(AuxDelete);
    QCOMPARE(m_f->responder.lastText(), u"这张新单据还没有保存。确定要放弃它吗？"_qs);
    QCOMPARE(number(kReceipt), u"00000002"_qs);
    QCOMPARE(column(kReceipt, 2), QStringList{u"9"_qs});
    m_f->responder.queueAnswer(AnswerYes);
    press(AuxDelete);
    QCOMPARE(m_f->responder.messages.size(), 2);
    QCOMPARE(number(kReceipt), u"00000001"_qs);
    QVERIFY(aux()->isButtonEnabled(AuxAdd) && grid(kReceipt)->isReadOnly());
    QCOMPARE(stored(u"SELECT COUNT(*) FROM yclnote"_qs), 1);
    press(AuxAdd); // nothing typed: given up without a question
    press(AuxDelete);
    QCOMPARE(m_f->responder.messages.size(), 2);
    QCOMPARE(number(kReceipt), u"00000001"_qs);

    m_f->responder.clear();
    m_f->responder.queueAnswer(AnswerNo);
    press(AuxDelete);
    QCOMPARE(m_f->responder.messages.at(0).text, u"删除之后数据将无法恢复。确定要删除吗？"_qs);
    QCOMPARE(m_f->responder.messages.at(0).code, int(MsgYesNo));
    QCOMPARE(stored(u"SELECT COUNT(*) FROM yclnote"_qs), 1);
    m_f->responder.queueAnswer(AnswerYes);
    press(AuxDelete);
    QCOMPARE(m_f->responder.lastText(), u"单据号：00000001删除成功！"_qs);
    QCOMPARE(
        stored(u"SELECT COUNT(*) FROM yclnote"_qs) + stored(u"SELECT COUNT(*) FROM ycldate"_qs), 0);
    QCOMPARE(number(kReceipt), QString());
    QCOMPARE(column(kReceipt, 0), QStringList{u"合计 ：0    "_qs});
    QCOMPARE(grid(kReceipt)->placeholderText(), start);
    QCOMPARE(control<QComboBox>(kReceipt.party)->currentText(), u"甲"_qs);
    // Nothing stored under the empty number: said so, not "删除成功".
    m_f->responder.queueAnswer(AnswerYes);
    press(AuxDelete);
    QVERIFY(!m_f->responder.lastText().contains(u"删除成功"_qs));
}

void TestDocumentPage::audit()
{
    stockIn(u"10"_qs);
    QLineEdit* auditor = control<QLineEdit>("编辑框_领料人_出库");
    enter(kRequisition);
    press(AuxAdd);
    press(AuxAudit); // not saved: the name is not left in the box
    QCOMPARE(m_f->responder.lastText(), u"单子还没有保存，无法审核！"_qs);
    QCOMPARE(auditor->text(), QString());
    QVERIFY(auditor->isReadOnly()); // only the audit writes the auditor
    control<QComboBox>(kRequisition.party)->setCurrentText(u"甲"_qs);
    control<QComboBox>(kRequisition.category)->setCurrentText(u"铝材"_qs);
    setLines(kRequisition, {{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs}});
    press(AuxSave);

    session().auditRight = false;
    press(AuxAudit);
    QCOMPARE(m_f->responder.lastText(), u"当前用户没有权限审核，请让系统管理员添加权限！"_qs);
    session().auditRight = true;
    press(AuxAudit);
    QCOMPARE(auditor->text(), u"张三"_qs);
    QCOMPARE(stored(u"SELECT COUNT(*) FROM ycldate WHERE 审核='张三'"_qs), 1);
    press(AuxAudit);
    QCOMPARE(m_f->responder.lastText(), u"该单已经审核！"_qs);
    press(AuxDelete); // 否: the question says the audit goes with it
    QCOMPARE(m_f->responder.lastText(),
             u"该单已由张三审核。删除之后数据将无法恢复。确定要删除吗？"_qs);
    // A modification stores a new header without auditor: the clerk is asked first, and
    // shown the audit gone.
    press(AuxModify); // 否 (the harmless answer): the audited requisition stays as it is
    QCOMPARE(m_f->responder.lastText(),
             u"该单已由张三审核，修改保存后须重新审核。确定要修改吗？"_qs);
    QVERIFY(grid(kRequisition)->isReadOnly());
    m_f->responder.queueAnswer(AnswerYes);
    press(AuxModify);
    press(AuxSave);
    QCOMPARE(m_f->responder.lastText(), u"00000001修改成功！"_qs);
    QCOMPARE(auditor->text(), QString());
    // On the receipt page the button says why it does nothing.
    enter(kReceipt);
    press(AuxAudit);
    QCOMPARE(m_f->responder.lastText(), u"入库单不需要审核，只有领料单需要审核。"_qs);
}

void TestDocumentPage::stockListAndMovementList()
{
    stockIn(u"10"_qs);
    m_f->window->stockPage()->refresh();
    ReportList* stock = m_f->control<ReportList>(u"超级列表框1"_qs);
    stock->setSelectedRow(0);
    m_f->window->onMainButton(MainStock);
    auto* receiptItem = m_f->control<QAction>(u"导入_入库"_qs);
    receiptItem->trigger();
    receiptItem->trigger();
    QCOMPARE(m_f->window->currentPage(), int(PageReceipt));
    QCOMPARE(number(kReceipt), u"00000001"_qs);
    QCOMPARE(column(kReceipt, 0), (QStringList{u"角铝"_qs, u"角铝"_qs}));
    QCOMPARE(column(kReceipt, 3), (QStringList{u"支"_qs, u"支"_qs}));
    QCOMPARE(control<QComboBox>(kReceipt.category)->currentText(), u"铝材"_qs);
    control<QComboBox>(kReceipt.party)->setCurrentText(u"甲"_qs);
    grid(kReceipt)->setCellText(1, 2, u"1"_qs);
    grid(kReceipt)->setCellText(2, 2, u"2"_qs);
    press(AuxSave); // visible and enabled on this path
    QVERIFY2(m_f->responder.messages.isEmpty(), qPrintable(m_f->responder.lastText()));
    QCOMPARE(stock->model()->text(0, 4), u"13"_qs);

    // The movement list opens the document on its page, with 返回.
    stock->setSelectedRow(0);
    m_f->window->stockPage()->showMovementRecords();
    ReportList* movements = m_f->control<ReportList>(u"超级列表框2"_qs);
    int row = 0;
    while (movements->model()->text(row, 2) != u"00000001"_qs)
        ++row;
    emit movements->rowDoubleClicked(row);
    QCOMPARE(m_f->window->currentPage(), int(PageReceipt));
    QCOMPARE(column(kReceipt, 2), (QStringList{u"1"_qs, u"2"_qs, QString()}));
    QCOMPARE(column(kReceipt, 0).last(), u"合计 ：0    "_qs); // no prices were typed
    auto* back = control<QPushButton>("按钮5");
    QVERIFY(!back->isHidden());
    back->click();
    QCOMPARE(m_f->window->currentPage(), int(PageMovements));
    QVERIFY(back->isHidden());
}

void TestDocumentPage::printingFollowsTheFormMode()
{
    addDocument(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"2"_qs, u"支"_qs, u"1.5"_qs},
                           {u"玻璃"_qs, u"5mm"_qs, u"3"_qs, u"块"_qs, u"1"_qs}});
    DocumentPage* page = m_f->window->documentPages()->receipt();
    PrintedDocument shown = page->printedDocument();
    QVERIFY(!shown.editing);
    QCOMPARE(shown.rows.size(), 3);
    QCOMPARE(shown.rows.last().first(), u"合计 ：6.00    "_qs);

    // 预览 on the stored receipt opens the preview titled 打印预览, over most of the screen.
    QString title;
    QSize shownSize;
    connect(m_f->window->reportPrint(), &ReportPrint::previewShown, this,
            [&title, &shownSize](QPrintPreviewDialog* dialog) {
                title = dialog->windowTitle();
                shownSize = dialog->size();
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            });
    press(AuxPreview);
    QCOMPARE(title, u"打印预览"_qs);
    const QSize room = m_f->window->screen()->availableGeometry().size();
    QVERIFY2(shownSize.height() * 4 >= room.height() * 3 &&
                 shownSize.width() * 4 >= room.width() * 3,
             qPrintable(u"%1x%2"_qs.arg(shownSize.width()).arg(shownSize.height())));

    // Being modified, every row of the grid is a line.
    press(AuxModify);
    shown = page->printedDocument();
    QVERIFY(shown.editing);
    QCOMPARE(shown.rows.size(), 2);
    QCOMPARE(shown.rows.last().first(), u"玻璃"_qs);

    // 打印 with no printer writes the form into the PDF file the user names.
    if (!QPrinterInfo::availablePrinters().isEmpty())
        return;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"入库单.pdf"_qs);
    m_f->responder.queueFileName(pdf);
    press(AuxPrint);
    QVERIFY2(m_f->responder.messages.isEmpty(), qPrintable(m_f->responder.lastText()));
    QVERIFY(QFileInfo(pdf).size() > 1000);
}

void TestDocumentPage::longNamesReadWhole()
{
    // Typed as a clerk types, the header box keeps "华南" where "华南玻璃" is listed; the list
    // is wide enough for its longest entry, and a stored name reads from its first character.
    const QString supplier = u"滨江商务中心幕墙工程有限公司"_qs;
    addDocument(kReceipt, {{u"A10"_qs, u"X"_qs, u"2"_qs, u"支"_qs, u"1"_qs}}, supplier);
    auto* party = control<QComboBox>(kReceipt.party);
    QCOMPARE(party->lineEdit()->cursorPosition(), 0);
    press(AuxAdd);
    QVERIFY(party->view()->minimumWidth() >
            party->view()->fontMetrics().horizontalAdvance(supplier));
    QApplication::setActiveWindow(m_f->window.get());
    party->setFocus();
    typeText(party->lineEdit(), u"滨江"_qs);
    QCOMPARE(party->currentText(), u"滨江"_qs);
}

void TestDocumentPage::exitAsksWhileAFormIsTyped()
{
    enter(kRequisition);
    press(AuxAdd);
    QVERIFY(!m_f->window->documentPages()->hasUnsavedDocument()); // nothing typed: no question
    control<QComboBox>(kRequisition.party)->setCurrentText(u"甲"_qs);
    QCloseEvent close;
    QApplication::sendEvent(m_f->window.get(), &close); // answered 否
    QVERIFY(!close.isAccepted());
    QCOMPARE(m_f->responder.lastText(), u"当前单据尚未保存，确定要退出吗？"_qs);
    m_f->control<QAction>(u"系统_数据恢复"_qs)->setEnabled(true); // as for the administrator
    for (const QString& item : {u"重新登录"_qs, u"数据恢复"_qs}) {
        m_f->control<QAction>(u"系统_"_qs + item)->trigger(); // answered 否 as well
        QVERIFY(m_f->responder.lastText().startsWith(u"当前单据尚未保存，确定要"_qs));
    }
    QCOMPARE(m_f->responder.lastText(), u"当前单据尚未保存，确定要恢复数据吗？"_qs);
    QCOMPARE(control<QComboBox>(kRequisition.party)->currentText(), u"甲"_qs);
    QVERIFY(!aux()->isButtonEnabled(AuxAdd));
}

void TestDocumentPage::unsavedDocumentOfferedBack()
{
    // A receipt typed (its price still in the cell's editor), never saved, and the window
    // gone without a word, as in a crash or a power cut: the next one offers it back.
    const QDir drafts(m_f->store.directory() + u"/drafts"_qs);
    const auto typeReceipt = [this] {
        enter(kReceipt);
        press(AuxAdd);
        control<QComboBox>(kReceipt.party)->setCurrentText(u"甲"_qs);
        setLines(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"2"_qs, u"支"_qs}});
        DocumentGrid* lines = grid(kReceipt);
        lines->setCurrentCell(1, ReceiptPrice);
        lines->setFocus();
        typeText(lines, u"1"_qs); // opens the editor, then typed on and left open
        typeText(lines->indexWidget(lines->currentIndex()), u".5"_qs);
    };
    typeReceipt();
    QTRY_VERIFY(!drafts.isEmpty(QDir::Files));
    const QString question = u"上次有一张入库单没有保存，程序就关闭了（1 行，"_qs;
    m_f->responder.queueAnswer(AnswerNo); // discarded
    m_f->open();
    QTRY_VERIFY(m_f->responder.lastText().startsWith(question));
    QVERIFY(drafts.isEmpty(QDir::Files));

    typeReceipt();
    QTRY_VERIFY(!drafts.isEmpty(QDir::Files));
    m_f->responder.queueAnswer(AnswerYes);
    m_f->open();
    QTRY_VERIFY(m_f->responder.lastText().startsWith(question));
    QCOMPARE(m_f->window->currentPage(), int(PageReceipt));
    QVERIFY(!aux()->isButtonEnabled(AuxAdd)); // being added
    QCOMPARE(control<QComboBox>(kReceipt.party)->currentText(), u"甲"_qs);
    QCOMPARE(grid(kReceipt)->cellText(1, ReceiptPrice), u"1.5"_qs);
    QCOMPARE(grid(kReceipt)->cellText(1, ReceiptLineTotal), u"3.00"_qs);
    control<QComboBox>(kReceipt.category)->setCurrentText(u"铝材"_qs);
    press(AuxSave);
    QCOMPARE(m_f->store.connection().query(u"SELECT 单价 FROM yclnote"_qs)->field(0), u"1.5"_qs);
    QVERIFY(drafts.isEmpty(QDir::Files)); // saved: nothing more to offer

    // A modification left unsaved is taken up on the document as stored, but not on one
    // changed since by someone else.
    press(AuxModify);
    setLines(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"4"_qs, u"支"_qs, u"1.5"_qs}});
    QTRY_VERIFY(!drafts.isEmpty(QDir::Files));
    m_f->responder.queueAnswer(AnswerYes);
    m_f->open();
    QTRY_VERIFY(m_f->responder.lastText().startsWith(u"上次对入库单 00000001 的修改没有保存"_qs));
    QCOMPARE(grid(kReceipt)->cellText(1, LineQuantity), u"4"_qs);
    QVERIFY(aux()->isButtonEnabled(AuxSave) && !aux()->isButtonEnabled(AuxModify));
    m_f->store.exec(u"UPDATE yclnote SET 数量='3'"_qs);
    m_f->responder.queueAnswer(AnswerYes);
    m_f->open();
    QTRY_VERIFY(m_f->responder.lastText().endsWith(u"找回的修改不能再用在它上面。"_qs));
    QCOMPARE(grid(kReceipt)->cellText(1, LineQuantity), u"3"_qs);
    QVERIFY(drafts.isEmpty(QDir::Files));

    // Left with the clerk's word, a typed document leaves no draft behind.
    typeReceipt();
    QTRY_VERIFY(!drafts.isEmpty(QDir::Files));
    m_f->responder.queueAnswer(AnswerYes);
    m_f->control<QAction>(u"系统_重新登录"_qs)->trigger();
    QVERIFY(drafts.isEmpty(QDir::Files));
}

void TestDocumentPage::failedReadsAreReported()
{
    addDocument(kReceipt, {{u"角铝"_qs, u"A1"_qs, u"1"_qs, u"支"_qs}});
    m_f->responder.clear();
    m_f->store.exec(u"ALTER TABLE ycldate RENAME TO ycldate_gone"_qs);
    press(AuxAdd); // no number can be taken: said so, and the page stays read-only
    QVERIFY2(m_f->responder.lastText().startsWith(u"读取单据号失败，数据库报告："_qs),
             qPrintable(m_f->responder.lastText()));
    QVERIFY(aux()->isButtonEnabled(AuxAdd));
    m_f->store.exec(u"ALTER TABLE ycldate_gone RENAME TO ycldate"_qs);
    m_f->store.exec(u"ALTER TABLE yclnote RENAME TO yclnote_gone"_qs);
    m_f->responder.clear();
    m_f->control<ReportList>(u"超级列表框1"_qs)->setSelectedRow(0);
    m_f->control<QAction>(u"导入_入库"_qs)->trigger();
    QVERIFY(std::any_of(m_f->responder.messages.begin(), m_f->responder.messages.end(),
                        [](const auto& m) { return m.text.startsWith(u"读取下拉列表失败"_qs); }));
    m_f->store.exec(u"ALTER TABLE yclnote_gone RENAME TO yclnote"_qs);
}

QTEST_MAIN(TestDocumentPage)
#include "tst_documentpage.moc"
