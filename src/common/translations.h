#pragma once
// The program's language without windows.

class QCoreApplication;

namespace mv {

// Sets the Chinese locale and loads Qt's own zh_CN translations, so standard texts and
// dialogs read 确定/取消/是/否; silently keeps the built-in texts when they are not installed.
void installChineseTranslations(QCoreApplication& app);

} // namespace mv
