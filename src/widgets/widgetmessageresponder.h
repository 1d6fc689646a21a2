#pragma once
// The message service's real dialogs: message boxes, the input box and file dialogs,
// parented to the active window.

#include "common/messages.h"

#include <QMessageBox>
#include <QPointer>

class QFileDialog;

namespace mv {

// The buttons, default button, Escape button and icon for a message code.
struct MessageBoxLayout
{
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    QMessageBox::StandardButton escapeButton = QMessageBox::Ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

MessageBoxLayout messageBoxLayout(int code);
// The answer code for a pressed button (OK 0, Cancel 1, Yes 5, No 6).
int messageAnswer(QMessageBox::StandardButton button);

class WidgetMessageResponder : public MessageResponder
{
public:
    int message(const QString& text, int code, const QString& title) override;
    InputAnswer input(const QString& prompt, const QString& title, const QString& initial) override;
    InputAnswer secretInput(const QString& prompt, const QString& title) override;
    QString fileName(bool save, const QString& caption, const QString& directory,
                     const QString& filter) override;
    int choice(const QString& prompt, const QString& title, const QStringList& items) override;

private:
    // The dialog that saves a proposed file, kept hidden between uses and owned by the window
    // it opens over: making and destroying one (its folder model and watcher thread, its saved
    // settings) takes longer than writing an export of thousands of rows.
    QPointer<QFileDialog> m_saveDialog;
};

} // namespace mv
