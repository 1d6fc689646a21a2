#include "common/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace mv {

void installChineseTranslations(QCoreApplication& app)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase_zh_CN", "qt_zh_CN"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QLatin1String(catalogue), directory)) {
            QCoreApplication::installTranslator(translator);
            break; // qt_zh_CN only forwards to qtbase_zh_CN
        }
        delete translator;
    }
}

} // namespace mv
