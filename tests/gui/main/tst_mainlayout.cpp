#include "gui/main/mainlayout.h"

#include <QTest>

using namespace mv;

// Figures of the main window layout, worked out by hand for two window sizes.
class TestMainLayout : public QObject
{
    Q_OBJECT
private slots:
    void figures_data();
    void figures();
};

namespace {
MainLayoutInput inputFor(int width, int height)
{
    MainLayoutInput in;
    in.windowWidth = width;
    in.windowHeight = height;
    in.toolBarHeight = 64;
    in.auxToolBarHeight = 30;
    in.statusBarHeight = 22;
    in.statusBarTop = height - 22;
    in.bannerWidth = 384;
    in.searchButtonWidth = 50;
    in.receiptTitleWidth = 139;
    in.movementTitleBarHeight = 40;
    in.receiptFrameHeight = 40;
    in.receiptGridLeft = 87;
    in.receiptGridTop = 92;
    in.requisitionGridLeft = 80;
    return in;
}
} // namespace

void TestMainLayout::figures_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("expected");
    // tabH, stockW, stockH, moveH, bannerL, searchL, titleL, rcptW, reqW, gridH, footer,
    // maker, progressTop
    QTest::newRow("940x560") << 940 << 560 << QList<int>{444, 925, 379, 339, 506, 870, 400,
                                                         766, 780, 262, 354, 356, 518};
    QTest::newRow("1201x803") << 1201 << 803 << QList<int>{687,  1186, 622, 582, 767, 1131, 531,
                                                           1027, 1041, 505, 597, 599, 761};
    // Too small: negative figures are passed on as computed, not clamped.
    QTest::newRow("300x150") << 300 << 150 << QList<int>{34,  285, -31,  -71, -134, 230, 80,
                                                         126, 140, -148, -56, -54,  108};
}

void TestMainLayout::figures()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QList<int>, expected);
    const MainLayout out = computeMainLayout(inputFor(width, height));
    const QList<int> actual{out.tabHeight,          out.stockListWidth,   out.stockListHeight,
                            out.movementListHeight, out.bannerLeft,       out.searchButtonLeft,
                            out.titleLabelLeft,     out.receiptGridWidth, out.requisitionGridWidth,
                            out.gridHeight,         out.footerTop,        out.makerEditTop,
                            out.progressTop};
    QCOMPARE(actual, expected);
    QCOMPARE(out.tabWidth, width);
    QCOMPARE(out.titleBarWidth, width);
    QCOMPARE(out.movementListWidth, out.stockListWidth);
    QCOMPARE(out.progressLeft, 0);
    QCOMPARE(out.progressWidth, width);
}

QTEST_APPLESS_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
