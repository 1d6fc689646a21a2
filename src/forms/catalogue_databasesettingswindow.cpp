// The database settings window: the embedded file or a PostgreSQL server, its connection
// fields, 测试连接, 确定 and 取消.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef databaseSettingsWindow()
{
    WindowDef def = window(u"DatabaseSettingsWindow", u"数据设置", 480, 420);
    def.controls = {
        ctl(u"单选框_文件", ControlKind::RadioButton, 24, 16, 420, 22)
            .caption(u"内嵌数据库文件（一台电脑使用，默认）"),
        ctl(u"标签_文件", ControlKind::Label, 48, 40, 410, 36),
        ctl(u"单选框_服务器", ControlKind::RadioButton, 24, 84, 420, 22)
            .caption(u"PostgreSQL 数据库服务器（多台电脑同时使用）"),
        ctl(u"标签_主机", ControlKind::Label, 48, 116, 80, 20).caption(u"服务器地址"),
        ctl(u"编辑框_主机", ControlKind::EditBox, 136, 114, 200, 22),
        ctl(u"标签_端口", ControlKind::Label, 48, 146, 80, 20).caption(u"端口"),
        ctl(u"编辑框_端口", ControlKind::EditBox, 136, 144, 80, 22),
        ctl(u"标签_数据库", ControlKind::Label, 48, 176, 80, 20).caption(u"数据库"),
        ctl(u"编辑框_数据库", ControlKind::EditBox, 136, 174, 200, 22),
        ctl(u"标签_用户", ControlKind::Label, 48, 206, 80, 20).caption(u"用户名"),
        ctl(u"编辑框_用户", ControlKind::EditBox, 136, 204, 200, 22),
        ctl(u"标签_密码", ControlKind::Label, 48, 236, 80, 20).caption(u"密码"),
        ctl(u"编辑框_密码", ControlKind::EditBox, 136, 234, 200, 22).password(),
        ctl(u"复选框_记住密码", ControlKind::CheckBox, 136, 262, 200, 22).caption(u"记住密码"),
        ctl(u"标签_说明", ControlKind::Label, 24, 292, 430, 64)
            .caption(u"更改在程序下次启动时生效。服务器数据库的“数据备份”用 pg_dump 写入 "
                     u"datebak 目录；这样的备份不能在本程序中恢复，需要时请数据库管理员用 "
                     u"pg_restore 恢复。"),
        ctl(u"按钮_测试连接", ControlKind::Button, 24, 368, 100, 32).caption(u"测试连接"),
        ctl(u"按钮_确定", ControlKind::Button, 256, 368, 90, 32).caption(u"确定"),
        ctl(u"按钮_取消", ControlKind::Button, 362, 368, 90, 32).caption(u"取消"),
    };
    return def;
}

} // namespace mv::catalogue
