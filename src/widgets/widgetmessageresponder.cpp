#include "widgets/widgetmessageresponder.h"

#include "common/filesuffix.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace mv {

namespace {

// A save dialog that completes the name typed with the extension of the file type chosen
// before it checks the name, so that it asks before replacing a file of the completed name.
class SaveDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QString typed = selectedFiles().value(0);
        if (!typed.isEmpty() && !QFileInfo(typed).isDir()) {
            const QString completed =
                withChosenSuffix(typed, nameFilters().join(u";;"_qs), selectedNameFilter());
            // selectFile() leaves the name box alone while it has the focus, as it has when
            // the clerk typed into it.
            if (completed != typed) {
                if (auto* name = findChild<QLineEdit*>(u"fileNameEdit"_qs))
                    name->setText(completed);
                else
                    selectFile(completed);
            }
        }
        QFileDialog::accept();
    }
};

// The window a box belongs to. Right after another box has closed no window is active yet (the
// keyboard comes back a moment later): the box still goes over the open modal window, or else
// the program's main window, rather than alone in the middle of the screen.
QWidget* dialogParent()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto main = std::find_if(windows.cbegin(), windows.cend(), [](const QWidget* window) {
        return window->isVisible() && qobject_cast<const QMainWindow*>(window);
    });
    return main != windows.cend() ? *main : nullptr;
}

} // namespace

MessageBoxLayout messageBoxLayout(int code)
{
    using B = QMessageBox;
    MessageBoxLayout layout;
    // The low four bits choose the buttons, the next four the icon.
    switch (code & 0x0F) {
    case 1:
        layout = {B::Ok | B::Cancel, B::Ok, B::Cancel};
        break;
    case 2:
        layout = {B::Abort | B::Retry | B::Ignore, B::Abort, B::Abort};
        break;
    case 3:
        layout = {B::Yes | B::No | B::Cancel, B::Yes, B::Cancel};
        break;
    case 4:
        layout = {B::Yes | B::No, B::Yes, B::No};
        break;
    case 5:
        layout = {B::Retry | B::Cancel, B::Retry, B::Cancel};
        break;
    default:
        layout = {B::Ok, B::Ok, B::Ok};
        break;
    }
    switch (code & 0xF0) {
    case 0x10:
        layout.icon = B::Critical;
        break;
    case 0x20:
        layout.icon = B::Question;
        break;
    case 0x30:
        layout.icon = B::Warning;
        break;
    case 0x40:
        layout.icon = B::Information;
        break;
    default:
        // A Yes/No question without an icon of its own still shows the question mark.
        layout.icon = (code & 0x0F) == 4 ? B::Question : B::NoIcon;
        break;
    }
    return layout;
}

int messageAnswer(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return AnswerOk;
    case QMessageBox::Cancel:
        return AnswerCancel;
    case QMessageBox::Abort:
        return AnswerAbort;
    case QMessageBox::Retry:
        return AnswerRetry;
    case QMessageBox::Ignore:
        return AnswerIgnore;
    case QMessageBox::Yes:
        return AnswerYes;
    case QMessageBox::No:
        return AnswerNo;
    default:
        return AnswerCancel;
    }
}

int WidgetMessageResponder::message(const QString& text, int code, const QString& title)
{
    const MessageBoxLayout layout = messageBoxLayout(code);
    QMessageBox box(layout.icon, title, text, layout.buttons, dialogParent());
    box.setDefaultButton(layout.defaultButton);
    box.setEscapeButton(layout.escapeButton);
    box.setWindowTitle(title);
    box.exec();
    // Closing the box counts as its Escape button.
    QAbstractButton* clicked = box.clickedButton();
    const auto pressed = clicked ? box.standardButton(clicked) : layout.escapeButton;
    return messageAnswer(pressed == QMessageBox::NoButton ? layout.escapeButton : pressed);
}

InputAnswer WidgetMessageResponder::input(const QString& prompt, const QString& title,
                                          const QString& initial)
{
    QInputDialog dialog(dialogParent());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    return InputAnswer{accepted, accepted ? dialog.textValue() : QString()};
}

InputAnswer WidgetMessageResponder::secretInput(const QString& prompt, const QString& title)
{
    QInputDialog dialog(dialogParent());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    return InputAnswer{accepted, accepted ? dialog.textValue() : QString()};
}

QString WidgetMessageResponder::fileName(bool save, const QString& caption,
                                         const QString& directory, const QString& filter)
{
    QWidget* parent = dialogParent();
    if (m_saveDialog && parent == m_saveDialog) // still counted active after its last use
        parent = m_saveDialog->parentWidget();
    // The directory may name the file to propose, as for Qt's own file dialog functions.
    const QFileInfo proposed(directory);
    if (!save || !parent || directory.isEmpty() || proposed.isDir()) {
        if (!save)
            return QFileDialog::getOpenFileName(parent, caption, directory, filter);
        QString chosenFilter;
        const QString typed =
            QFileDialog::getSaveFileName(parent, caption, directory, filter, &chosenFilter);
        return withChosenSuffix(typed, filter, chosenFilter);
    }
    if (!m_saveDialog || m_saveDialog->parentWidget() != parent) {
        delete m_saveDialog.data();
        m_saveDialog = new SaveDialog(parent);
        m_saveDialog->setAcceptMode(QFileDialog::AcceptSave);
    }
    QFileDialog& dialog = *m_saveDialog;
    dialog.setWindowTitle(caption);
    dialog.setNameFilter(filter);
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName()); // replaces the name typed at the last use
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

int WidgetMessageResponder::choice(const QString& prompt, const QString& title,
                                   const QStringList& items)
{
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    if (!items.isEmpty())
        dialog.setTextValue(items.first());
    // Qt's list is about 250 pixels wide: a backup's name and time were cut off at the edge.
    // Widen it to the longest item, within most of the screen.
    if (auto* list = dialog.findChild<QListView*>()) {
        int widest = 0;
        for (const QString& item : items)
            widest = std::max(widest, list->fontMetrics().horizontalAdvance(item));
        const int chrome = list->width() - list->viewport()->width() +
                           list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                           4 * list->spacing() + 16;
        const QScreen* screen = list->screen();
        const int room = screen ? screen->availableGeometry().width() * 4 / 5 : 1000;
        list->setMinimumWidth(std::min(widest + chrome, room));
    }
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return int(items.indexOf(dialog.textValue()));
}

} // namespace mv
