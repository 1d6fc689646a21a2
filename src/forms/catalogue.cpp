// The catalogue of every window, assembled once from the per-window record files.

#include "forms/catalogue_records.h"
#include "forms/controldef.h"

namespace mv {

const QList<WindowDef>& windowCatalogue()
{
    static const QList<WindowDef> windows = {
        catalogue::mainWindow(),
        catalogue::passwordWindow(),
        catalogue::loginWindow(),
        catalogue::searchWindow(),
        catalogue::exportWindow(),
        catalogue::stripeWindow(),
        catalogue::previewProgressWindow(),
        catalogue::printSettingsWindow(),
        catalogue::formulaWindow(),
        catalogue::formulaEditWindow(),
        catalogue::userManagementWindow(),
        catalogue::databaseSettingsWindow(),
    };
    return windows;
}

const WindowDef* findWindowDef(const QString& name)
{
    for (const WindowDef& def : windowCatalogue()) {
        if (def.name == name)
            return &def;
    }
    return nullptr;
}

const WindowDef& windowDef(const QString& name)
{
    const WindowDef* def = findWindowDef(name);
    if (!def)
        qFatal("The window catalogue has no window %s", qUtf8Printable(name));
    return *def;
}

} // namespace mv
