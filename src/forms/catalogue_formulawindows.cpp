// The two formula windows (new custom column, modify a custom column): the same controls
// under different captions.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

namespace {

QList<ControlDef> formulaControls()
{
    return {
        ctl(u"脚本组件1", ControlKind::ScriptComponent, 250, 29, 32, 24).hidden(),
        ctl(u"标签5", ControlKind::Label, 23, 106, 315, 15)
            .caption(u"运算符号说明:“+”、“-”、“*”、“/”、括号嵌套。"),
        ctl(u"新列名编辑框", ControlKind::EditBox, 82, 13, 133, 17),
        ctl(u"标签4", ControlKind::Label, 26, 17, 51, 16).caption(u"新增列名:"),
        ctl(u"标签3", ControlKind::Label, 23, 120, 264, 16)
            .caption(u"公式样式:[第一列]*12(52+13)/(14-3)-[第三列]"),
        ctl(u"取消", ControlKind::Button, 326, 39, 70, 22).caption(u"取消"),
        ctl(u"确定", ControlKind::Button, 326, 9, 70, 22).caption(u"确定"),
        ctl(u"标签2", ControlKind::Label, 48, 64, 27, 16).caption(u"公式:"),
        ctl(u"公式编辑框", ControlKind::EditBox, 82, 64, 238, 34),
        ctl(u"标签1", ControlKind::Label, 13, 41, 65, 16).caption(u"相关计算列:"),
        ctl(u"列内容", ControlKind::ComboBox, 82, 38, 134, 20),
    };
}

} // namespace

WindowDef formulaWindow()
{
    WindowDef def = window(u"FormulaWindow", u"公式设置", 413, 168);
    def.controls = formulaControls();
    return def;
}

WindowDef formulaEditWindow()
{
    WindowDef def = window(u"FormulaEditWindow", u"修改公式设置", 413, 168);
    def.controls = formulaControls();
    return def;
}

} // namespace mv::catalogue
