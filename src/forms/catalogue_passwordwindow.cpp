// The password change window: three masked boxes on the one page of its tab control.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef passwordWindow()
{
    WindowDef def = window(u"PasswordWindow", u"修改密码", 350, 244);
    def.controls = {
        ctl(u"标签1", ControlKind::Label, 40, 32, 80, 24).page(0).caption(u"旧密码"),
        ctl(u"编辑框1", ControlKind::EditBox, 136, 32, 144, 20).page(0).password(),
        ctl(u"标签2", ControlKind::Label, 40, 72, 80, 24).page(0).caption(u"新密码 "),
        ctl(u"编辑框2", ControlKind::EditBox, 136, 72, 144, 20).page(0).password(),
        ctl(u"标签3", ControlKind::Label, 40, 112, 88, 24).page(0).caption(u"新密码再次输入"),
        ctl(u"编辑框3", ControlKind::EditBox, 136, 112, 144, 20).page(0).password(),
        ctl(u"按钮1", ControlKind::Button, 48, 144, 80, 32).page(0).caption(u"修改"),
        ctl(u"按钮2", ControlKind::Button, 200, 144, 80, 32).page(0).caption(u"退出"),
        // One untitled page that serves as the window's background.
        ctl(u"选择夹1", ControlKind::TabControl, 0, 0, 504, 256).items({u""}),
    };
    return def;
}

} // namespace mv::catalogue
