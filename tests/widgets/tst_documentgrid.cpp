// The document grid: heading row 0, cell kinds and their editors, read-only mode,
// inserting and deleting data rows, merged cells, the edit signal, the whole text of a
// cell cut short and columns widened for long texts.

#include "support/pointer.h"
#include "widgets/documentgrid.h"
#include "widgets/griddelegate.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QValidator>
#include <string>

using namespace mv;

class TestDocumentGrid : public QObject
{
    Q_OBJECT

private:
    static void setUp(DocumentGrid& grid)
    {
        grid.setColumnCount(3);
        grid.setRowCount(3);
        grid.setCellText(0, 0, u"产品名称"_qs);
        grid.setCellText(0, 1, u"数量"_qs);
        grid.setCellText(0, 2, u"备注"_qs);
        grid.setColumnKind(1, DocumentGrid::CellKind::Numeric);
        // 玻璃 was stored with a space after it.
        grid.setDropDownItems(0, {u"铝型材"_qs, u"玻璃 "_qs});
    }

    // Types KEYS ('\t' for Tab, '\n' for Return) as the keyboard does: to the grid until a key
    // has opened the current cell's editor, then to the editor.
    static void typeKeys(DocumentGrid& grid, const std::string& keys)
    {
        for (const char key : keys) {
            QWidget* target = grid.indexWidget(grid.currentIndex());
            if (auto* box = qobject_cast<QComboBox*>(target))
                target = box->lineEdit();
            if (!target)
                target = &grid;
            if (key == '\t' || key == '\n')
                QTest::keyClick(target, key == '\t' ? Qt::Key_Tab : Qt::Key_Return);
            else
                QTest::keyClick(target, key);
        }
    }

private slots:
    void headingRow()
    {
        DocumentGrid grid;
        setUp(grid);
        QCOMPARE(grid.cellText(0, 1), u"数量"_qs);
        QCOMPARE(grid.cellText(1, 1), QString());
        const QTableWidgetItem* heading = grid.item(0, 2);
        QVERIFY(heading);
        QVERIFY(!(heading->flags() & Qt::ItemIsEditable));
        QVERIFY(heading->font().bold());
        // Columns added later get a heading cell too.
        grid.setColumnCount(5);
        QVERIFY(grid.item(0, 4));
        QVERIFY(!(grid.item(0, 4)->flags() & Qt::ItemIsEditable));
        // On screen the headings stand in the header, in view while a long document's lines
        // scroll under it, and not twice.
        grid.resize(400, 150);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setRowCount(40);
        grid.scrollToBottom();
        QVERIFY(grid.horizontalHeader()->isVisible());
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), u"数量"_qs);
        QVERIFY(grid.isRowHidden(0));
        grid.setRowCount(1);
        // Writing beyond the grid grows it.
        grid.setCellText(6, 5, u"x"_qs);
        QCOMPARE(grid.rowCount(), 7);
        QCOMPARE(grid.columnCount(), 6);
        QCOMPARE(grid.cellText(6, 5), u"x"_qs);
    }

    void numericCellsTakeOnlyNumbers()
    {
        QVERIFY(isNumericCellText(u"12"_qs));
        QVERIFY(isNumericCellText(u"-3.50"_qs));
        QVERIFY(isNumericCellText(QString()));
        QVERIFY(!isNumericCellText(u"12a"_qs));
        QVERIFY(!isNumericCellText(u"1.2.3"_qs));
        QVERIFY(!isNumericCellText(u"1e5"_qs));

        DocumentGrid grid;
        setUp(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setCurrentCell(1, 1);
        grid.edit(grid.model()->index(1, 1));
        auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(edit);
        QVERIFY(edit->validator());
        QTest::keyClicks(edit, u"1a2.5x"_qs);
        QCOMPARE(edit->text(), u"12.5"_qs);
    }

    void dropDownCells()
    {
        DocumentGrid grid;
        setUp(grid);
        QCOMPARE(grid.columnKind(0), DocumentGrid::CellKind::DropDown);
        QCOMPARE(grid.columnKind(2), DocumentGrid::CellKind::Text);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy edited(&grid, &DocumentGrid::cellEdited);
        grid.setCurrentCell(2, 0);
        grid.edit(grid.model()->index(2, 0));
        QComboBox* combo = grid.viewport()->findChild<QComboBox*>();
        QVERIFY(combo);
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(1), u"玻璃 "_qs);
        combo->setCurrentIndex(1);
        // Committing the editor writes the cell, an item picked from the list as listed, and
        // reports the edit.
        QTest::keyClick(combo, Qt::Key_Tab);
        QCOMPARE(grid.cellText(2, 0), u"玻璃 "_qs);
        QCOMPARE(edited.count(), 1);
        QCOMPARE(edited.at(0).at(0).toInt(), 2);
        QCOMPARE(edited.at(0).at(1).toInt(), 0);
        // Writes by the program are no edits.
        grid.setCellText(1, 2, u"备注文字"_qs);
        QCOMPARE(edited.count(), 1);

        // Down after a name typed goes on to the next line with the name as typed, less the
        // space after it; the list has other names to step to.
        grid.insertRowAt(3);
        grid.setCurrentCell(2, 0);
        typeKeys(grid, "x ");
        auto* editor = qobject_cast<QComboBox*>(grid.indexWidget(grid.currentIndex()));
        QVERIFY(editor);
        QTest::keyClick(editor->lineEdit(), Qt::Key_Down);
        QCOMPARE(grid.cellText(2, 0), u"x"_qs);
        QCOMPARE(grid.currentRow(), 3);
        typeKeys(grid, "y"); // and Page Up likewise
        editor = qobject_cast<QComboBox*>(grid.indexWidget(grid.currentIndex()));
        QTest::keyClick(editor->lineEdit(), Qt::Key_PageUp);
        QCOMPARE(grid.cellText(3, 0), u"y"_qs);
    }

    // Lines copied from a spreadsheet fill the grid from the current cell, as typed.
    void pasteFromSpreadsheet()
    {
        DocumentGrid grid;
        setUp(grid);
        grid.setCellText(2, 1, u"9"_qs);
        QSignalSpy edited(&grid, &DocumentGrid::cellEdited);
        grid.setCurrentCell(1, 0);
        // A number copied with its digits grouped goes in as the number; text keeps its commas.
        QGuiApplication::clipboard()->setText(
            u"合页 \t1,200\t左,右\r\n玻璃\t\t右\t多余\r\n角码\t￥12.50\r\n"_qs);
        QTest::keySequence(&grid, QKeySequence::Paste);
        const auto line = [&grid](int row) {
            return QStringList{grid.cellText(row, 0), grid.cellText(row, 1), grid.cellText(row, 2)};
        };
        QCOMPARE(grid.rowCount(), 4);
        QCOMPARE(line(1), (QStringList{u"合页"_qs, u"1200"_qs, u"左,右"_qs}));
        QCOMPARE(line(2), (QStringList{u"玻璃"_qs, u"9"_qs, u"右"_qs})); // not emptied
        QCOMPARE(line(3), (QStringList{u"角码"_qs, u"12.50"_qs, QString()}));
        QCOMPARE(edited.count(), 7);
        QCOMPARE(grid.currentRow(), 3);
        grid.setReadOnly(true);
        QTest::keySequence(&grid, QKeySequence::Paste);
        QCOMPARE(grid.rowCount(), 4);
        // Delete empties the cell the cursor is on, in an editable grid only.
        QTest::keyClick(&grid, Qt::Key_Delete);
        QCOMPARE(line(3).first(), u"角码"_qs);
        grid.setReadOnly(false);
        QTest::keyClick(&grid, Qt::Key_Delete);
        QCOMPARE(line(3).first(), QString());
        QCOMPARE(edited.count(), 8);
    }

    void readOnly()
    {
        DocumentGrid grid;
        setUp(grid);
        grid.setCellText(1, 2, u"原文"_qs);
        grid.setReadOnly(true);
        QVERIFY(grid.isReadOnly());
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setCurrentCell(1, 2);
        // Keys typed where nothing can be typed leave the cursor where it is, not on the
        // next cell whose text starts with them.
        grid.setCellText(2, 2, u"abc"_qs);
        QTest::keyClicks(&grid, u"abc"_qs);
        QCOMPARE(grid.currentRow(), 1);
        QTest::keyClick(&grid, Qt::Key_F2);
        QCOMPARE(grid.viewport()->findChild<QLineEdit*>(), nullptr);
        QCOMPARE(grid.cellText(1, 2), u"原文"_qs);

        grid.setReadOnly(false);
        QTest::keyClick(&grid, Qt::Key_F2);
        QPointer<QLineEdit> editor = grid.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor && editor->isVisible());
        // Switching to read-only while editing drops the editor without writing.
        editor->setText(u"改"_qs);
        grid.setReadOnly(true);
        QTRY_VERIFY(!editor || !editor->isVisible());
        QCOMPARE(grid.cellText(1, 2), u"原文"_qs);
    }

    void insertAndDeleteRows()
    {
        DocumentGrid grid;
        setUp(grid);
        grid.setCellText(1, 2, u"一"_qs);
        grid.setCellText(2, 2, u"二"_qs);
        grid.insertRowAt(2);
        QCOMPARE(grid.rowCount(), 4);
        QCOMPARE(grid.cellText(2, 2), QString());
        QCOMPARE(grid.cellText(3, 2), u"二"_qs);
        // Row 0 stays the heading row.
        grid.insertRowAt(0);
        QCOMPARE(grid.cellText(0, 1), u"数量"_qs);
        QCOMPARE(grid.cellText(1, 2), QString());
        QCOMPARE(grid.cellText(2, 2), u"一"_qs);
        grid.insertRowAt(grid.rowCount()); // appends
        QCOMPARE(grid.rowCount(), 6);

        grid.deleteRowAt(0); // refused: the headings stay
        QCOMPARE(grid.cellText(0, 0), u"产品名称"_qs);
        grid.deleteRowAt(2);
        QCOMPARE(grid.rowCount(), 5);
        QCOMPARE(grid.cellText(2, 2), QString());
        QCOMPARE(grid.cellText(3, 2), u"二"_qs);
        grid.deleteRowAt(40);
        QCOMPARE(grid.rowCount(), 5);
    }

    void keyboardStaysOffTheHeadingsAndTabStartsALine()
    {
        DocumentGrid grid;
        setUp(grid); // headings and two empty lines
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setCurrentCell(1, 0);
        QTest::keyClick(&grid, Qt::Key_Up);
        QTest::keyClick(&grid, Qt::Key_Backtab);
        QCOMPARE(grid.currentRow(), 1);
        QCOMPARE(grid.currentColumn(), 0);
        // Typed text ends in the cell it was typed into, line after line by Tab alone.
        grid.setCurrentCell(2, 2);
        typeKeys(grid, "last\tnext\t");
        QCOMPARE(grid.rowCount(), 4);
        QCOMPARE(grid.cellText(2, 2), u"last"_qs);
        QCOMPARE(grid.cellText(3, 0), u"next"_qs);
        QCOMPARE(grid.cellText(0, 0), u"产品名称"_qs);
        // Return takes the cell typed and goes on, as Tab does, with no editor opened: what
        // is typed next replaces the next cell's text rather than being added to it.
        grid.setCellText(1, 2, u"old"_qs);
        grid.setCurrentCell(1, 1);
        typeKeys(grid, "7\nnew\n");
        QCOMPARE(grid.cellText(1, 1), u"7"_qs);
        QCOMPARE(grid.cellText(1, 2), u"new"_qs);
        QCOMPARE(grid.currentIndex(), grid.model()->index(2, 0));
        QVERIFY(!grid.indexWidget(grid.currentIndex())); // no editor open there
        // A read-only grid grows no line.
        grid.setReadOnly(true);
        grid.setCurrentCell(3, 2);
        QTest::keyClick(&grid, Qt::Key_Tab);
        QCOMPARE(grid.rowCount(), 4);
    }

    void typingAfterClickingTheCurrentCellIsKept_data()
    {
        QTest::addColumn<int>("column");
        QTest::newRow("drop-down") << 0;
        QTest::newRow("text") << 2;
    }

    void typingAfterClickingTheCurrentCellIsKept()
    {
        QFETCH(int, column);
        DocumentGrid grid;
        setUp(grid);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setCellText(1, column, u"a"_qs); // typed a moment ago; the correction replaces it
        grid.setCurrentCell(1, column);
        const QPoint centre = grid.visualRect(grid.model()->index(1, column)).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre);
        typeKeys(grid, "bc");
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        grid.commitOpenEditor();
        QCOMPARE(grid.cellText(1, column), u"bc"_qs);
    }

    void textCutShortShowsWholeAsToolTip()
    {
        DocumentGrid grid;
        setUp(grid);
        grid.setCellText(1, 2, u"幕墙东立面第三层加急"_qs);
        grid.setCellText(2, 2, u"补货"_qs);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setColumnWidth(2, 60); // narrower than the columns are fitted
        const auto restOn = [&grid](int row) {
            const QModelIndex cell = grid.model()->index(row, 2);
            return test::toolTipAt(grid.viewport(), grid.visualRect(cell).center());
        };
        QCOMPARE(restOn(1), u"幕墙东立面第三层加急"_qs);
        QCOMPARE(restOn(2), QString()); // whole on screen: nothing to add
    }

    // A long name widens its column so that it shows whole, as far as the grid has room; a
    // merged line (the totals) widens nothing.
    void longTextsWidenTheirColumns()
    {
        DocumentGrid grid;
        setUp(grid);
        grid.resize(500, 200);
        grid.setCellText(1, 0, u"不锈钢自攻螺钉（加长型）"_qs);
        grid.setCellText(2, 0, u"合计 ：1234567890.00    "_qs);
        grid.mergeCells(2, 0, 1, 3);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.fitColumnsToText();
        const int standard = grid.horizontalHeader()->defaultSectionSize();
        const QModelIndex name = grid.model()->index(1, 0);
        QCOMPARE(test::toolTipAt(grid.viewport(), grid.visualRect(name).center()), QString());
        QCOMPARE(grid.columnWidth(1), standard);
        QCOMPARE(grid.columnWidth(2), standard);

        grid.setCellText(1, 2, QString(80, u'长'));
        grid.fitColumnsToText();
        QCOMPARE(grid.columnWidth(0) + grid.columnWidth(1) + grid.columnWidth(2),
                 grid.maximumViewportSize().width());
        QCOMPARE(grid.columnWidth(1), standard);
    }

    void mergeCells()
    {
        DocumentGrid grid;
        setUp(grid);
        grid.mergeCells(1, 0, 2, 3);
        QCOMPARE(grid.rowSpan(1, 0), 2);
        QCOMPARE(grid.columnSpan(1, 0), 3);
        grid.mergeCells(0, 0, 0, 2); // an empty span is ignored
        QCOMPARE(grid.columnSpan(0, 0), 1);
    }
};

QTEST_MAIN(TestDocumentGrid)
#include "tst_documentgrid.moc"
