// The invisible window that holds the second connection used by the list export.

#include "forms/catalogue_records.h"

namespace mv::catalogue {

WindowDef exportWindow()
{
    WindowDef def = window(u"ExportWindow", u"", 0, 0);
    def.controls = {
        ctl(u"外部数据库1", ControlKind::DatabaseConnection, 8, 0, 32, 32).hidden(),
    };
    return def;
}

} // namespace mv::catalogue
