#pragma once
// The program's look and language: Chinese standard dialogs and its own skin.

class QApplication;
class QCoreApplication;

namespace mv {

// Registers the program's built-in resources (skin, home page); safe to call repeatedly.
void initResources();

// Loads Qt's own zh_CN translations so standard dialogs read 确定/取消/是/否; silently keeps
// the built-in texts when they are not installed. Also sets the Chinese locale and font.
void installChineseTexts(QCoreApplication& app);

// Applies the program's style sheet and window icon to the whole application.
void applySkin(QApplication& app);

} // namespace mv
