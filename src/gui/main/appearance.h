#pragma once
// The program's look and language: Chinese standard dialogs and its own skin.

class QApplication;
class QCoreApplication;

namespace mv {

// Registers the program's built-in resources (skin, home page); safe to call repeatedly.
void initResources();

// The Chinese translations (installChineseTranslations) and, for windows, the Chinese font.
void installChineseTexts(QCoreApplication& app);

// Applies the program's style sheet and window icon to the whole application.
void applySkin(QApplication& app);

} // namespace mv
