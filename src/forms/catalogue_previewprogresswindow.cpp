// The "please wait" window of the report print module, holding its table and helpers.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef previewProgressWindow()
{
    WindowDef def = window(u"PreviewProgressWindow", u"", 260, 40);
    def.controls = {
        ctl(u"标签1", ControlKind::Label, 0, 0, 260, 40).caption(u"正在生成预览，请稍候..."),
        ctl(u"脚本组件1", ControlKind::ScriptComponent, 40, 64, 24, 24).hidden(),
        ctl(u"时钟1", ControlKind::Timer, 48, 160, 32, 32).hidden(),
        ctl(u"通用提供者1", ControlKind::DataProvider, 168, 168, 56, 40).hidden(),
        ctl(u"数据源1", ControlKind::DataSource, 240, 136, 132, 22),
        ctl(u"表格1", ControlKind::Grid, 0, 0, 264, 47),
    };
    return def;
}

} // namespace mv::catalogue
