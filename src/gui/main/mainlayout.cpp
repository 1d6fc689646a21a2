#include "gui/main/mainlayout.h"

namespace mv {

MainLayout computeMainLayout(const MainLayoutInput& in)
{
    MainLayout out;
    out.tabHeight = in.windowHeight - in.toolBarHeight - in.auxToolBarHeight - in.statusBarHeight;
    out.tabWidth = in.windowWidth;
    out.titleBarWidth = in.windowWidth;

    out.stockListHeight = out.tabHeight - 65;
    out.stockListWidth = out.tabWidth - 15;
    out.movementListHeight = out.stockListHeight - in.movementTitleBarHeight;
    out.movementListWidth = out.stockListWidth;

    out.bannerLeft = in.windowWidth - in.bannerWidth - 50;
    out.searchButtonLeft = in.windowWidth - in.searchButtonWidth - 20;
    // Computed in floating point and truncated toward zero, as every layout figure is.
    out.titleLabelLeft = int(in.windowWidth / 2.0 - in.receiptTitleWidth / 2.0);

    out.receiptGridWidth = in.windowWidth - 2 * in.receiptGridLeft;
    out.requisitionGridWidth = in.windowWidth - 2 * in.requisitionGridLeft;
    out.gridHeight = out.tabHeight - 92 - in.receiptFrameHeight - 50;

    out.footerTop = in.receiptGridTop + out.gridHeight;
    out.makerEditTop = out.footerTop + 2;

    out.progressLeft = 0;
    out.progressWidth = in.windowWidth;
    out.progressTop = in.statusBarTop - 20;
    return out;
}

} // namespace mv
