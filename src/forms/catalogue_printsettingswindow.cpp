// The report print settings window: three tab pages of settings and the custom column menu.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef printSettingsWindow()
{
    WindowDef def = window(u"PrintSettingsWindow", u"打印预览设置", 400, 390);
    def.controls = {
        ctl(u"分组框7", ControlKind::GroupBox, 96, 40, 256, 96).page(2).caption(u"选择统计列"),
        ctl(u"统计列表框", ControlKind::CheckListBox, 7, 17, 242, 71).in(u"分组框7"),
        ctl(u"自定义列", ControlKind::RadioButton, 14, 87, 70, 16)
            .in(u"分组框4")
            .caption(u"自定义列"),
        ctl(u"自定义行", ControlKind::RadioButton, 14, 65, 70, 16)
            .in(u"分组框4")
            .caption(u"自定义行"),
        ctl(u"自配色", ControlKind::RadioButton, 14, 43, 70, 16)
            .in(u"分组框4")
            .caption(u"自带配色"),
        ctl(u"默认色", ControlKind::RadioButton, 14, 21, 70, 16).in(u"分组框4").caption(u"默认色"),
        ctl(u"标签3", ControlKind::Label, 27, 82, 56, 16).page(0).caption(u"页脚文字："),
        ctl(u"页脚", ControlKind::EditBox, 86, 81, 262, 20).page(0),
        ctl(u"序号", ControlKind::CheckBox, 8, 245, 92, 16).in(u"分组框5").caption(u"增加序号列"),
        ctl(u"自定义列表框", ControlKind::ReportList, 10, 40, 224, 177)
            .in(u"分组框6")
            .columns({{u"列名", 70}, {u"公式", 150}}),
        ctl(u"标签18", ControlKind::Label, 12, 249, 200, 13)
            .in(u"分组框6")
            .caption(u"提示：右键选择进行修改、删除操作。"),
        ctl(u"列千分符选择框", ControlKind::CheckBox, 153, 18, 80, 14)
            .in(u"分组框6")
            .caption(u"千分位分隔"),
        ctl(u"标签23", ControlKind::Label, 93, 18, 57, 14).in(u"分组框6").caption(u"( -3至3 )"),
        ctl(u"新增列保留位数", ControlKind::EditBox, 69, 15, 23, 20).in(u"分组框6").caption(u"2"),
        ctl(u"标签22", ControlKind::Label, 11, 18, 55, 14).in(u"分组框6").caption(u"保留位数："),
        ctl(u"添加", ControlKind::Button, 11, 223, 63, 20).in(u"分组框6").caption(u"添加"),
        ctl(u"分组框6", ControlKind::GroupBox, 129, 29, 245, 266).page(1).caption(u"自定义列"),
        ctl(u"显示列表框", ControlKind::CheckListBox, 6, 40, 104, 187).in(u"分组框5"),
        ctl(u"打印列全选", ControlKind::CheckBox, 8, 20, 47, 14).in(u"分组框5").caption(u"全选"),
        ctl(u"分组框5", ControlKind::GroupBox, 5, 29, 118, 266).page(1).caption(u"选择打印列"),
        ctl(u"标签24", ControlKind::Label, 167, 111, 57, 14).in(u"分组框3").caption(u"( -3至3 )"),
        ctl(u"统计千分符选择框", ControlKind::CheckBox, 241, 111, 80, 14)
            .in(u"分组框3")
            .caption(u"千分位分隔"),
        ctl(u"居中打印", ControlKind::CheckBox, 243, 275, 69, 16).page(0).caption(u"居中打印"),
        ctl(u"分组框4", ControlKind::GroupBox, 10, 175, 358, 114).page(2).caption(u"背景颜色设置"),
        ctl(u"标签21", ControlKind::Label, 227, 19, 125, 16)
            .in(u"分组框4")
            .caption(u"---- [自定义列] ----"),
        ctl(u"标签15", ControlKind::Label, 227, 41, 66, 17).in(u"分组框4").caption(u"标题行颜色："),
        ctl(u"标题颜色1", ControlKind::ColourPicker, 300, 40, 48, 20).in(u"分组框4"),
        ctl(u"奇列色", ControlKind::ColourPicker, 300, 62, 48, 20).in(u"分组框4"),
        ctl(u"标签16", ControlKind::Label, 227, 63, 66, 17).in(u"分组框4").caption(u"奇数列颜色："),
        ctl(u"标签17", ControlKind::Label, 227, 86, 66, 17).in(u"分组框4").caption(u"偶数列颜色："),
        ctl(u"偶列色", ControlKind::ColourPicker, 300, 84, 48, 20).in(u"分组框4"),
        ctl(u"标签20", ControlKind::Label, 96, 19, 125, 16)
            .in(u"分组框4")
            .caption(u"---- [自定义行] ----"),
        ctl(u"标签12", ControlKind::Label, 96, 42, 66, 17).in(u"分组框4").caption(u"标题行颜色："),
        ctl(u"标签10", ControlKind::Label, 96, 64, 66, 17).in(u"分组框4").caption(u"奇数行颜色："),
        ctl(u"标签11", ControlKind::Label, 96, 86, 66, 17).in(u"分组框4").caption(u"偶数行颜色："),
        ctl(u"偶行色", ControlKind::ColourPicker, 166, 84, 48, 20).in(u"分组框4"),
        ctl(u"奇行色", ControlKind::ColourPicker, 166, 62, 48, 20).in(u"分组框4"),
        ctl(u"标题颜色", ControlKind::ColourPicker, 166, 40, 48, 20).in(u"分组框4"),
        ctl(u"分组框3", ControlKind::GroupBox, 10, 30, 358, 135).page(2).caption(u"合计/统计行"),
        ctl(u"标签8", ControlKind::Label, 87, 112, 53, 12).in(u"分组框3").caption(u"保留位数:"),
        ctl(u"统计行保留位数", ControlKind::EditBox, 141, 110, 23, 16).in(u"分组框3").caption(u"2"),
        ctl(u"统计列全选", ControlKind::CheckBox, 33, 84, 45, 14).in(u"分组框3").caption(u"全选"),
        ctl(u"不打合计", ControlKind::RadioButton, 14, 21, 56, 16)
            .in(u"分组框3")
            .caption(u"不打印"),
        ctl(u"打合计", ControlKind::RadioButton, 14, 41, 69, 16)
            .in(u"分组框3")
            .caption(u"打印合计"),
        ctl(u"打统计", ControlKind::RadioButton, 14, 62, 69, 16)
            .in(u"分组框3")
            .caption(u"打印统计"),
        ctl(u"标签14", ControlKind::Label, 127, 275, 41, 16).page(0).caption(u"(可空)"),
        ctl(u"字体大小", ControlKind::EditBox, 89, 274, 33, 20).page(0).caption(u"30"),
        ctl(u"标签5", ControlKind::Label, 27, 275, 56, 16).page(0).caption(u"字体大小："),
        ctl(u"字体", ControlKind::Button, 299, 31, 41, 20).page(0).caption(u"字体"),
        ctl(u"页号位置", ControlKind::ComboBox, 89, 248, 79, 20)
            .page(0)
            .items({u"无页号", u"上左", u"上中", u"上右", u"下左", u"下中", u"下右"}),
        ctl(u"标签13", ControlKind::Label, 275, 250, 86, 16).page(0).caption(u"(空为自动分页)"),
        ctl(u"备注", ControlKind::EditBox, 86, 107, 262, 50).page(0),
        ctl(u"标签9", ControlKind::Label, 27, 107, 56, 16).page(0).caption(u"备注文字："),
        ctl(u"标签6", ControlKind::Label, 27, 251, 56, 16).page(0).caption(u"页号位置："),
        ctl(u"分组框2", ControlKind::GroupBox, 27, 168, 188, 75).page(0).caption(u"纸张设置:"),
        ctl(u"标签7", ControlKind::Label, 10, 22, 29, 16).in(u"分组框2").caption(u"纸张:"),
        ctl(u"纸张", ControlKind::ComboBox, 42, 20, 138, 20)
            .in(u"分组框2")
            .items({u"A3纸(297x420毫米)", u"A4纸(210x297毫米)", u"A5纸(148x210毫米)",
                    u"B4纸(250x354毫米)", u"B5纸(182x257毫米)", u"四开(215x275毫米)",
                    u"十六开(146x215毫米)", u"三十二开(97x151毫米)"}),
        ctl(u"纸张方向0", ControlKind::RadioButton, 45, 49, 46, 16).in(u"分组框2").caption(u"纵向"),
        ctl(u"纸张方向1", ControlKind::RadioButton, 99, 49, 47, 16).in(u"分组框2").caption(u"横向"),
        ctl(u"分组框1", ControlKind::GroupBox, 227, 168, 124, 75).page(0).caption(u"线条类别:"),
        ctl(u"线型4", ControlKind::RadioButton, 66, 48, 46, 19).in(u"分组框1"),
        ctl(u"线型3", ControlKind::RadioButton, 16, 49, 41, 19).in(u"分组框1"),
        ctl(u"类别2", ControlKind::RadioButton, 66, 20, 46, 19).in(u"分组框1"),
        ctl(u"线型1", ControlKind::RadioButton, 16, 21, 41, 19).in(u"分组框1").caption(u"~"),
        ctl(u"行数", ControlKind::EditBox, 243, 248, 29, 20).page(0),
        ctl(u"标签4", ControlKind::Label, 183, 251, 55, 16).page(0).caption(u"每页行数："),
        ctl(u"页眉", ControlKind::EditBox, 86, 56, 262, 20).page(0),
        ctl(u"标签2", ControlKind::Label, 27, 57, 56, 16).page(0).caption(u"页眉文字："),
        ctl(u"标题", ControlKind::EditBox, 86, 31, 208, 20).page(0),
        ctl(u"标签1", ControlKind::Label, 27, 32, 56, 16).page(0).caption(u"打印标题："),
        ctl(u"选择夹1", ControlKind::TabControl, 7, 7, 380, 305)
            .items({u"基本设置", u"行列设置", u"统计/颜色"}),
        ctl(u"选择字体对话框", ControlKind::CommonDialog, 300, 313, 24, 25).hidden(),
        ctl(u"保存配置", ControlKind::CheckBox, 26, 323, 74, 16).caption(u"保存配置"),
        ctl(u"取消", ControlKind::Button, 205, 321, 64, 26).caption(u"取消"),
        ctl(u"打印预览", ControlKind::Button, 125, 321, 64, 26).caption(u"打印预览"),
    };
    def.menu = {
        // Pop-up menu of the custom column list 自定义列表框.
        topMenu(u"右键菜单", false),
        menuItem(u"修改"),
        menuItem(u"删除"),
    };
    return def;
}

} // namespace mv::catalogue
