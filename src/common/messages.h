#pragma once
// The message service: every message box, question, input box and file dialog of the
// program goes through here, so tests can answer them without a modal dialog.

#include <QString>
#include <QStringList>

namespace mv {

// Button/icon codes of a message box.
enum MessageCode : int
{
    MsgOk = 0,              // OK
    MsgYesNo = 4,           // Yes / No
    MsgOkCancelWarn = 0x31, // OK / Cancel with the exclamation icon
    MsgOkInfo = 0x40,       // OK with the information icon
};

// Answers: the platform's button code minus one.
enum MessageAnswer : int
{
    AnswerOk = 0,
    AnswerCancel = 1,
    AnswerAbort = 2,
    AnswerRetry = 3,
    AnswerIgnore = 4,
    AnswerYes = 5,
    AnswerNo = 6,
};

struct InputAnswer
{
    bool accepted = false;
    QString text;
};

// What actually shows dialogs: the widget library installs one for the running program,
// tests install a scripted one.
class MessageResponder
{
public:
    virtual ~MessageResponder() = default;
    virtual int message(const QString& text, int code, const QString& title) = 0;
    virtual InputAnswer input(const QString& prompt, const QString& title,
                              const QString& initial) = 0;
    // An input box whose text is not shown (a password). By default a plain input box.
    virtual InputAnswer secretInput(const QString& prompt, const QString& title)
    {
        return input(prompt, title, QString());
    }
    // save = true for a save dialog; returns the chosen path or an empty text on cancel.
    virtual QString fileName(bool save, const QString& caption, const QString& directory,
                             const QString& filter) = 0;
    // A list to choose one item from; returns its index, or -1 when cancelled. A responder
    // that cannot offer a choice cancels it.
    virtual int choice(const QString& prompt, const QString& title, const QStringList& items)
    {
        Q_UNUSED(prompt);
        Q_UNUSED(title);
        Q_UNUSED(items);
        return -1;
    }
};

// Installs the responder (not owned); nullptr removes it. Returns the previous one.
MessageResponder* setMessageResponder(MessageResponder* responder);
MessageResponder* messageResponder();

inline QString defaultMessageTitle()
{
    return QStringLiteral("信息：");
}

// Shows a message box; an omitted title is "信息：". Returns the answer code.
int msgBox(const QString& text, int code = MsgOk, const QString& title = defaultMessageTitle());
InputAnswer inputBox(const QString& prompt, const QString& title, const QString& initial);
// An input box that does not show what is typed.
InputAnswer passwordBox(const QString& prompt, const QString& title);
QString openFileName(const QString& caption, const QString& directory, const QString& filter);
QString saveFileName(const QString& caption, const QString& directory, const QString& filter);
// Offers the items (the first one chosen to begin with); the chosen index, -1 on cancel.
int chooseItem(const QString& prompt, const QString& title, const QStringList& items);

} // namespace mv
