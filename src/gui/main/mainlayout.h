#pragma once
// The main window's geometry for a given window size: a plain function so the figures can be
// checked without a window. Fractions are truncated toward zero.

namespace mv {

struct MainLayoutInput
{
    int windowWidth = 0;
    int windowHeight = 0;
    int toolBarHeight = 0;    // 工具条1
    int auxToolBarHeight = 0; // 辅_工具条
    int statusBarHeight = 0;  // 状态条1
    int statusBarTop = 0;
    int bannerWidth = 0;            // 图片框2
    int searchButtonWidth = 0;      // 搜索_按钮
    int receiptTitleWidth = 0;      // 标签13
    int movementTitleBarHeight = 0; // 外形框3
    int receiptFrameHeight = 0;     // 外形框1
    int receiptGridLeft = 0;        // 显示数据
    int receiptGridTop = 0;
    int requisitionGridLeft = 0; // 显示数据1
};

struct MainLayout
{
    int tabWidth = 0;
    int tabHeight = 0;
    int titleBarWidth = 0; // 外形框1, 外形框2, 外形框3
    int stockListWidth = 0;
    int stockListHeight = 0; // also 超级列表框3 and 超文本浏览框1
    int movementListWidth = 0;
    int movementListHeight = 0;
    int bannerLeft = 0;
    int searchButtonLeft = 0;
    int titleLabelLeft = 0; // 标签13 and 标签14
    int receiptGridWidth = 0;
    int requisitionGridWidth = 0;
    int gridHeight = 0; // both grids
    int footerTop = 0; // 标签2, 标签9, 标签7, 编辑框_制单人_出库, 编辑框_领料人_出库
    int makerEditTop = 0; // 编辑框_制单人_入库
    int progressLeft = 0;
    int progressWidth = 0;
    int progressTop = 0;
};

MainLayout computeMainLayout(const MainLayoutInput& in);

} // namespace mv
