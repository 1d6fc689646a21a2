// The item search window: one radio button and one free-text combo box per search column.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef searchWindow()
{
    WindowDef def = window(u"SearchWindow", u"搜索", 273, 134);
    def.controls = {
        ctl(u"标签1", ControlKind::Label, 50, 82, 176, 16).caption(u">>>>>>支持模糊查找<<<<<<<<"),
        ctl(u"单选框3", ControlKind::RadioButton, 16, 56, 56, 24).caption(u"型号"),
        ctl(u"单选框2", ControlKind::RadioButton, 16, 32, 48, 24).caption(u"名称"),
        ctl(u"单选框1", ControlKind::RadioButton, 16, 8, 72, 24).caption(u"库存分类"),
        ctl(u"按钮2", ControlKind::Button, 200, 56, 50, 25).caption(u"退出"),
        ctl(u"搜索按钮1", ControlKind::Button, 200, 9, 50, 25).caption(u"搜索"),
        ctl(u"库存分类_组合框", ControlKind::ComboBox, 92, 9, 100, 20).tabOrder(1),
        ctl(u"名称_组合框", ControlKind::ComboBox, 92, 33, 100, 20).tabOrder(2),
        ctl(u"型号_组合框", ControlKind::ComboBox, 92, 57, 100, 20).tabOrder(3),
    };
    return def;
}

} // namespace mv::catalogue
