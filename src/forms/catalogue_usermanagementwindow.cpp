// The user management window: the account list, the fields of an account and one button per
// change. Selecting an account fills the name and the two rights.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef userManagementWindow()
{
    WindowDef def = window(u"UserManagementWindow", u"用户管理", 470, 370);
    def.controls = {
        ctl(u"超级列表框_用户", ControlKind::ReportList, 10, 10, 450, 180)
            .columns({{u"编号", 60}, {u"用户", 180}, {u"审核", 90}, {u"数据操作", 90}})
            .tabOrder(1),
        ctl(u"标签1", ControlKind::Label, 10, 202, 96, 20).caption(u"用户名："),
        ctl(u"编辑框_用户名", ControlKind::EditBox, 110, 202, 170, 20).tabOrder(2),
        ctl(u"标签2", ControlKind::Label, 10, 230, 96, 20).caption(u"密码："),
        ctl(u"编辑框_密码", ControlKind::EditBox, 110, 230, 170, 20).password().tabOrder(3),
        ctl(u"标签3", ControlKind::Label, 10, 258, 96, 20).caption(u"再次输入密码："),
        ctl(u"编辑框_密码确认", ControlKind::EditBox, 110, 258, 170, 20).password().tabOrder(4),
        ctl(u"选择框_审核", ControlKind::CheckBox, 300, 202, 160, 20)
            .caption(u"审核权限")
            .tabOrder(5),
        ctl(u"选择框_数据操作", ControlKind::CheckBox, 300, 230, 160, 20)
            .caption(u"数据操作权限")
            .tabOrder(6),
        ctl(u"标签4", ControlKind::Label, 10, 288, 450, 20)
            .caption(u"权限的修改在该用户下次登录时生效。"),
        ctl(u"按钮_添加", ControlKind::Button, 10, 322, 80, 30).caption(u"添加").tabOrder(7),
        ctl(u"按钮_修改", ControlKind::Button, 100, 322, 80, 30).caption(u"修改").tabOrder(8),
        ctl(u"按钮_删除", ControlKind::Button, 190, 322, 80, 30).caption(u"删除").tabOrder(9),
        ctl(u"按钮_重置密码", ControlKind::Button, 280, 322, 90, 30)
            .caption(u"重置密码")
            .tabOrder(10),
        ctl(u"按钮_退出", ControlKind::Button, 380, 322, 80, 30).caption(u"退出").tabOrder(11),
    };
    return def;
}

} // namespace mv::catalogue
