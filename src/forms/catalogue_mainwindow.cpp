// The main window: seven tab pages, two toolbars, status bar and the menu bar.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef mainWindow()
{
    WindowDef def = window(u"MainWindow", u"Morvane[单机版]v1.0 - Morvane 开发组", 948, 612);
    def.controls = {
        ctl(u"打印表格", ControlKind::Grid, 400, 240, 384, 192).hidden(),
        ctl(u"状态条1", ControlKind::StatusBar, 0, 538, 942, 20),
        ctl(u"进度条1", ControlKind::ProgressBar, 1, 0, 936, 20).hidden(),
        ctl(u"too", ControlKind::DatePicker, 669, 46, 170, 24).hidden(),
        ctl(u"formo", ControlKind::DatePicker, 477, 48, 170, 24).hidden(),
        ctl(u"超级列表框3", ControlKind::ReportList, 8, 8, 931, 397)
            .page(5)
            .columns({{u"编号", 50},
                      {u"库存分类", 100},
                      {u"名称", 200},
                      {u"型号", 150},
                      {u"上月库存量", 100},
                      {u"本月库存量", 100},
                      {u"本月出库", 100},
                      {u"本月入库", 500}}),
        ctl(u"搜索_按钮", ControlKind::Button, 876, 79, 50, 20).caption(u"搜索").hidden(),
        ctl(u"超文本浏览框1", ControlKind::WebBrowser, 0, 0, 928, 410).page(0),
        ctl(u"通用对话框1", ControlKind::CommonDialog, 312, 234, 26, 26).page(1).hidden(),
        ctl(u"编辑框_出库_项目", ControlKind::ComboBox, 561, 56, 100, 20).page(4),
        ctl(u"按钮2", ControlKind::Button, 728, 93, 39, 28).page(3).caption(u"-").hidden(),
        ctl(u"按钮7", ControlKind::Button, 690, 93, 39, 28).page(3).caption(u"+").hidden(),
        ctl(u"YCLll_日期框", ControlKind::DatePicker, 325, 56, 160, 24).page(4),
        ctl(u"YCLRK_日期框", ControlKind::DatePicker, 328, 56, 160, 24).page(3),
        ctl(u"编辑框_单位入库", ControlKind::ComboBox, 560, 56, 100, 20).page(3),
        ctl(u"编辑框_制单人_出库", ControlKind::EditBox, 136, 353, 120, 20).page(4),
        ctl(u"标签9", ControlKind::Label, 88, 351, 80, 24).page(4).caption(u"制单："),
        ctl(u"按钮6", ControlKind::Button, 856, 5, 48, 32).page(4).caption(u"返回").hidden(),
        ctl(u"按钮5", ControlKind::Button, 854, 5, 48, 32).in(u"外形框1").caption(u"返回").hidden(),
        ctl(u"标签8", ControlKind::Label, 259, 56, 64, 20).page(4).caption(u"领料时间："),
        ctl(u"标签3", ControlKind::Label, 87, 56, 48, 20).page(4).caption(u"领料单："),
        ctl(u"编辑框_单号出库", ControlKind::EditBox, 144, 56, 110, 20).page(4),
        ctl(u"标签4", ControlKind::Label, 500, 56, 61, 20).page(4).caption(u"所用项目："),
        ctl(u"标签6", ControlKind::Label, 672, 56, 60, 20).page(4).caption(u"库存分类："),
        ctl(u"组合框_出库分类", ControlKind::ComboBox, 737, 56, 87, 20).page(4),
        ctl(u"按钮1", ControlKind::Button, 590, 93, 39, 26).page(4).caption(u"+").hidden(),
        ctl(u"按钮4", ControlKind::Button, 628, 93, 39, 26).page(4).caption(u"-").hidden(),
        ctl(u"显示数据1", ControlKind::Grid, 87, 92, 736, 255).page(4),
        ctl(u"编辑框_领料人_出库", ControlKind::EditBox, 326, 353, 120, 20).page(4),
        ctl(u"标签7", ControlKind::Label, 282, 351, 38, 24).page(4).caption(u"审核："),
        ctl(u"编辑框_制单人_入库", ControlKind::EditBox, 136, 354, 117, 20).page(3),
        ctl(u"标签2", ControlKind::Label, 88, 351, 56, 24).page(3).caption(u"制单："),
        ctl(u"按钮3", ControlKind::Button, 861, 4, 48, 32).page(2).caption(u"返回"),
        ctl(u"外形框3", ControlKind::ShapeBox, 0, 0, 942, 40).page(2),
        ctl(u"标签5", ControlKind::Label, 227, 5, 640, 32).in(u"外形框3"),
        // Button 12 "统计" starts hidden: the main window applies that as a button state flag
        // at set-up; the toolbar itself is visible here.
        ctl(u"辅_工具条", ControlKind::ToolBar, 8, 8, 939, 20)
            .items({u"打印", u"预览", u"-", u"添加", u"保存", u"修改", u"删除", u"-", u"上一张",
                    u"下一张", u"-", u"审核", u"统计", u"出入记录", u"查询"}),
        ctl(u"外形框2", ControlKind::ShapeBox, 0, 0, 942, 40).page(4),
        ctl(u"标签14", ControlKind::Label, 393, 5, 124, 32).in(u"外形框2").caption(u"领料单"),
        ctl(u"标签13", ControlKind::Label, 376, 5, 139, 32).in(u"外形框1").caption(u"采购入库单"),
        ctl(u"外形框1", ControlKind::ShapeBox, 0, 0, 942, 40).page(3),
        ctl(u"标签12", ControlKind::Label, 502, 56, 61, 20).page(3).caption(u"供货单位："),
        ctl(u"标签11", ControlKind::Label, 259, 56, 80, 20).page(3).caption(u"入库时间："),
        ctl(u"标签10", ControlKind::Label, 79, 56, 59, 20).page(3).caption(u"入库单号："),
        ctl(u"编辑框_单号入库", ControlKind::EditBox, 144, 56, 110, 20).page(3),
        ctl(u"显示数据", ControlKind::Grid, 87, 92, 736, 255).page(3),
        ctl(u"标签1", ControlKind::Label, 668, 56, 60, 20).page(3).caption(u"库存分类："),
        ctl(u"组合框_分类", ControlKind::ComboBox, 730, 56, 87, 20).page(3),
        ctl(u"超级列表框2", ControlKind::ReportList, 0, 40, 936, 378)
            .page(2)
            .columns({{u"出入库", 100},
                      {u"数量", 100},
                      {u"单据号", 100},
                      {u"人员", 60},
                      {u"时间", 300}}),
        ctl(u"图片框2", ControlKind::PictureBox, 552, 16, 384, 56),
        ctl(u"超级列表框1", ControlKind::ReportList, 5, 5, 931, 397)
            .page(1)
            .columns({{u"编号", 50},
                      {u"库存分类", 100},
                      {u"名称", 150},
                      {u"型号", 150},
                      {u"现存量", 80},
                      {u"单位", 50},
                      {u"备注", 1000}}),
        ctl(u"选择夹1", ControlKind::TabControl, 0, 102, 939, 442)
            .items({u"主窗口", u"YCL库存", u"YCL明细", u"入库单", u"领料单", u"moon", u"打印"}),
        // The tooltips of buttons 0 and 1 are set by the main window.
        ctl(u"工具条1", ControlKind::ToolBar, 176, 0, 0, 0)
            .items({u"采购入库", u"领料出库", u"库存明细", u"-", u"成品入库", u"成品出库",
                    u"成品明细", u"-", u"数据设置", u"退出"}),
    };
    def.menu = {
        topMenu(u"系统"),
        menuItem(u"数据设置"),
        menuItem(u"数据备份"),
        menuItem(u"数据恢复"),
        menuSeparator(),
        menuItem(u"重新登录"),
        menuItem(u"退出"),
        // Not in the menu bar: the pop-up menu of the stock list 超级列表框1.
        topMenu(u"导入", false),
        menuItem(u"记录"),
        menuSeparator(),
        menuItem(u"入库"),
        menuSeparator(),
        menuItem(u"领料"),
        menuSeparator(),
        menuItem(u"删除"),
        menuSeparator(),
        menuItem(u"刷新"),
        topMenu(u"用户"),
        menuItem(u"修改密码"),
        menuItem(u"用户管理", false),
        topMenu(u"帮助"),
        menuItem(u"关于"),
        menuItem(u"帮助"),
    };
    return def;
}

} // namespace mv::catalogue
