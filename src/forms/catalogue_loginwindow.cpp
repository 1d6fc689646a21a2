// The login window; it also carries the database connection of the whole run.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef loginWindow()
{
    WindowDef def = window(u"LoginWindow", u"Morvane 单机版v1.0", 294, 202);
    def.controls = {
        // The password box is a plain edit box, not masked. Tab goes name, password, 登录, 退出.
        ctl(u"编辑框2", ControlKind::EditBox, 80, 80, 171, 20).tabOrder(2),
        ctl(u"标签2", ControlKind::Label, 24, 80, 48, 24).caption(u"密码："),
        ctl(u"标签1", ControlKind::Label, 24, 40, 56, 24).caption(u"用户名："),
        ctl(u"用户_组合框", ControlKind::ComboBox, 80, 39, 171, 20).tabOrder(1),
        ctl(u"外部数据库1", ControlKind::DatabaseConnection, 152, 208, 32, 32).hidden(),
        ctl(u"按钮2", ControlKind::Button, 48, 120, 80, 32).caption(u"登录").tabOrder(3),
        ctl(u"按钮1", ControlKind::Button, 176, 120, 80, 32).caption(u"退出").tabOrder(4),
        ctl(u"透明标签1", ControlKind::TransparentLabel, 14, 7, 106, 24),
        ctl(u"进度条1", ControlKind::ProgressBar, 136, 241, 208, 16),
    };
    return def;
}

} // namespace mv::catalogue
