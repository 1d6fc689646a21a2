// The report list: selection (-1 for none), header click index, double and right clicks,
// check boxes, column widths, a large fill, the striped background, and the timing line a
// refill leaves once drawn.

#include "widgets/fulltextdelegate.h"
#include "widgets/reportlist.h"
#include "widgets/stripes.h"
#include "widgets/timingreport.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <chrono>

using namespace mv;

namespace {

// Timing lines, and the paints the list's viewport had when each arrived.
QStringList g_timingLines;
int g_paints = 0;

void keepTimingLines(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (QLatin1String(context.category) == QLatin1String("morvane.timing"))
        g_timingLines.append(text + u" paints="_qs + QString::number(g_paints));
}

class PaintCounter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++g_paints;
        return false;
    }
};

} // namespace

class TestReportList : public QObject
{
    Q_OBJECT

private:
    static void fill(ReportList& list, int rows)
    {
        list.setColumns({{u"编号"_qs, 50}, {u"名称"_qs, 150}, {u"现存量"_qs, 80, Qt::AlignRight}});
        QList<ReportRow> data;
        for (int r = 0; r < rows; ++r)
            data.append(
                ReportRow{{QString::number(r + 1), u"铝型材"_qs % QString::number(r)}, r * 10});
        list.model()->setRows(data);
    }

    static QPoint cellCentre(ReportList& list, int row, int column)
    {
        return list.visualRect(list.model()->index(row, column)).center();
    }

private slots:
    void defaults()
    {
        ReportList list;
        QCOMPARE(list.viewType(), 3);
        QVERIFY(list.verticalHeader()->isHidden());
        QVERIFY(!list.showGrid());
        QVERIFY(!list.isSortingEnabled());
        QCOMPARE(list.selectedRow(), -1);
        // A name cut short at the column's edge shows whole as a tool tip.
        QVERIFY(qobject_cast<FullTextDelegate*>(list.itemDelegate()));
    }

    void columnsAndWidthsSurviveRefill()
    {
        ReportList list;
        fill(list, 3);
        QCOMPARE(list.model()->columnCount(), 3);
        QCOMPARE(list.model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 u"名称"_qs);
        QCOMPARE(list.horizontalHeader()->sectionSize(1), 150);
        // A refill resets the model; the widths stay.
        list.model()->setRows({ReportRow{{u"1"_qs}, 0}});
        QCOMPARE(list.horizontalHeader()->sectionSize(0), 50);
        QCOMPARE(list.horizontalHeader()->sectionSize(2), 80);
        // The user resizing a column is remembered by the model.
        list.horizontalHeader()->resizeSection(1, 210);
        QCOMPARE(list.model()->columnWidth(1), 210);
    }

    void selection()
    {
        ReportList list;
        fill(list, 5);
        list.setSelectedRow(3);
        QCOMPARE(list.selectedRow(), 3);
        QVERIFY(list.selectionModel()->isRowSelected(3, {}));
        list.setSelectedRow(-1);
        QCOMPARE(list.selectedRow(), -1);
        list.setSelectedRow(2);
        list.setSelectedRow(5); // outside: clears
        QCOMPARE(list.selectedRow(), -1);
        // A refill drops the selection.
        list.setSelectedRow(1);
        fill(list, 5);
        QCOMPARE(list.selectedRow(), -1);
    }

    void mouseSignals()
    {
        ReportList list;
        list.resize(500, 300);
        fill(list, 5);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));

        QSignalSpy header(&list, &ReportList::headerClicked);
        QHeaderView* top = list.horizontalHeader();
        QTest::mouseClick(top->viewport(), Qt::LeftButton, {},
                          QPoint(top->sectionViewportPosition(2) + 10, top->height() / 2));
        QCOMPARE(header.count(), 1);
        QCOMPARE(header.at(0).at(0).toInt(), 2);

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cellCentre(list, 1, 1));
        QCOMPARE(list.selectedRow(), 1);

        QSignalSpy doubled(&list, &ReportList::rowDoubleClicked);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, cellCentre(list, 2, 0));
        QCOMPARE(doubled.count(), 1);
        QCOMPARE(doubled.at(0).at(0).toInt(), 2);
        // Return on the selected row opens it as a double click does, for the keyboard.
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(doubled.count(), 2);
        QCOMPARE(doubled.at(1).at(0).toInt(), 3);
        // Ctrl+C copies the whole selected row, a hidden column left out.
        list.setColumnHidden(0, true);
        QTest::keySequence(&list, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"铝型材3\t"_qs);
        list.setColumnHidden(0, false);

        QSignalSpy right(&list, &ReportList::rightClicked);
        const QPoint onRow = cellCentre(list, 4, 1);
        QContextMenuEvent onRowEvent(QContextMenuEvent::Mouse, onRow,
                                     list.viewport()->mapToGlobal(onRow));
        QApplication::sendEvent(list.viewport(), &onRowEvent);
        QCOMPARE(right.count(), 1);
        QCOMPARE(right.at(0).at(0).toInt(), 4);
        QCOMPARE(right.at(0).at(1).toPoint(), list.viewport()->mapToGlobal(onRow));
        QCOMPARE(list.selectedRow(), 4); // the right-clicked row becomes the selection

        const QPoint below(20, list.viewport()->height() - 3);
        QContextMenuEvent belowEvent(QContextMenuEvent::Mouse, below,
                                     list.viewport()->mapToGlobal(below));
        QApplication::sendEvent(list.viewport(), &belowEvent);
        QCOMPARE(right.count(), 2);
        QCOMPARE(right.at(1).at(0).toInt(), -1);
    }

    void checkBoxes()
    {
        ReportList list;
        fill(list, 3);
        QVERIFY(!list.model()->data(list.model()->index(0, 0), Qt::CheckStateRole).isValid());
        list.model()->setCheckable(true);
        const QModelIndex first = list.model()->index(1, 0);
        QVERIFY(list.model()->flags(first) & Qt::ItemIsUserCheckable);
        QVERIFY(list.model()->setData(first, int(Qt::Checked), Qt::CheckStateRole));
        QCOMPARE(list.model()->checkState(1), Qt::Checked);
        QCOMPARE(list.model()->checkState(0), Qt::Unchecked);
        // Only the first column carries the box.
        QVERIFY(!(list.model()->flags(list.model()->index(1, 1)) & Qt::ItemIsUserCheckable));
    }

    void hundredThousandRows()
    {
        ReportList list;
        list.resize(400, 300);
        fill(list, 100000);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(list.model()->rowCount(), 100000);
        QCOMPARE(list.model()->text(99999, 1), u"铝型材99999"_qs);
        QCOMPARE(list.model()->datum(99999), qint64(999990));
        list.setSelectedRow(99999);
        QCOMPARE(list.selectedRow(), 99999);
        QVERIFY(list.rowViewportPosition(99999) >= 0); // scrolled into view
    }

    void timingLineOnceDrawn()
    {
        const auto handler = qInstallMessageHandler(keepTimingLines);
        ReportList list;
        list.setObjectName(u"超级列表框1"_qs);
        list.viewport()->installEventFilter(new PaintCounter(&list));
        fill(list, 3); // the channel is off by default: no line
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTest::qWait(20);
        QVERIFY(g_timingLines.isEmpty());

        QLoggingCategory::setFilterRules(u"morvane.timing.debug=true"_qs);
        list.hide();
        g_paints = 0;
        fill(list, 5); // filled while off screen: the line waits for the window
        QTest::qWait(50);
        QVERIFY(g_timingLines.isEmpty());
        const double shown =
            std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
                .count();
        list.show();
        QTRY_COMPARE(g_timingLines.size(), 1);
        const QStringList parts = g_timingLines.first().split(u' ');
        QCOMPARE(parts.mid(0, 7).join(u' '), u"超级列表框1 shows 5 rows (accessibility off) at"_qs);
        const double at = parts.at(7).toDouble();
        QVERIFY2(at >= shown && at < shown + 10, qPrintable(g_timingLines.first()));
        QVERIFY2(!parts.endsWith(u"paints=0"_qs), "the line came before the rows were drawn");

        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(handler);
    }

    void stripeHeightRule()
    {
        QCOMPARE(stripePictureHeight(3, false), 16);
        QCOMPARE(stripePictureHeight(5, false), 16);
        QCOMPARE(stripePictureHeight(6, false), 18);
        QCOMPARE(stripePictureHeight(8, false), 24);
        QCOMPARE(stripePictureHeight(10, false), 28);
        QCOMPARE(stripePictureHeight(11, false), 32);
        QCOMPARE(stripePictureHeight(14, false), 40);
        QCOMPARE(stripePictureHeight(20, false), 56);
        QCOMPARE(stripePictureHeight(21, false), 0);
        QCOMPARE(stripePictureHeight(25, false), 0);
        QCOMPARE(stripePictureHeight(4, true), 32);
        QCOMPARE(stripePictureHeight(10, true), 32);
        QCOMPARE(stripePictureHeight(12, true), 34);
    }

    void stripedBackground()
    {
        ReportList list;
        QFont font = list.font();
        font.setPointSize(3);
        list.setFont(font);
        applyStripedBackground(&list);
        QCOMPARE(list.font().pointSize(), 5); // raised on the list itself
        const QImage picture = list.stripePicture().toImage();
        QCOMPARE(picture.size(), QSize(1, 16));
        QCOMPARE(picture.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(picture.pixelColor(0, 7), QColor(Qt::white));
        QCOMPARE(picture.pixelColor(0, 8), QColor(255, 255, 223));
        QCOMPARE(picture.pixelColor(0, 15), QColor(255, 255, 223));
        QCOMPARE(list.verticalHeader()->defaultSectionSize(), 8);
        QVERIFY(!list.palette().brush(QPalette::Base).texture().isNull());

        font.setPointSize(25);
        list.setFont(font);
        applyStripedBackground(&list);
        QCOMPARE(list.font().pointSize(), 25);
        QVERIFY(list.stripePicture().isNull());
        QVERIFY(list.palette().brush(QPalette::Base).texture().isNull());
    }

    // The placeholder text shows on the empty list only, never over its rows.
    void placeholderOnlyWhenEmpty()
    {
        ReportList list;
        list.resize(300, 200);
        fill(list, 0);
        const QImage empty = list.grab().toImage();
        list.setPlaceholderText(u"点“统计”"_qs);
        QVERIFY(list.grab().toImage() != empty);
        fill(list, 3);
        const QImage rows = list.grab().toImage();
        list.setPlaceholderText(QString());
        QCOMPARE(list.grab().toImage(), rows);
    }
};

QTEST_MAIN(TestReportList)
#include "tst_reportlist.moc"
