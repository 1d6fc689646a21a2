#include "gui/main/appearance.h"

#include "common/translations.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>

// The resources live in a static library, so they are registered explicitly.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace mv {

void initResources()
{
    static const bool registered = (registerResources(), true);
    Q_UNUSED(registered);
}

void installChineseTexts(QCoreApplication& app)
{
    installChineseTranslations(app);
    if (!qobject_cast<QApplication*>(&app))
        return; // no windows: nothing to draw with a font
    const QString family = QStringLiteral("WenQuanYi Micro Hei");
    if (QFontDatabase::families().contains(family))
        QApplication::setFont(QFont(family, 9));
}

void applySkin(QApplication& app)
{
    initResources();
    QFile sheet(QStringLiteral(":/skin/morvane.qss"));
    if (sheet.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(sheet.readAll()));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 256})
        icon.addFile(QStringLiteral(":/icons/morvane-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
}

} // namespace mv
