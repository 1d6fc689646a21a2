#pragma once
// A message responder for tests: records every message box, input box and file dialog, and
// answers from queues, so no test ever waits on a modal dialog.

#include "common/messages.h"

#include <QList>
#include <QQueue>
#include <QString>

namespace mv::test {

struct RecordedMessage
{
    QString text;
    int code = 0;
    QString title;
};

struct RecordedInput
{
    QString prompt;
    QString title;
    QString initial;
};

struct RecordedChoice
{
    QString prompt;
    QString title;
    QStringList items;
};

struct RecordedFileDialog
{
    bool save = false;
    QString caption;
    QString directory;
    QString filter;
};

// Installs itself on construction and puts the previous responder back on destruction.
class ScriptedResponder : public MessageResponder
{
public:
    ScriptedResponder();
    ~ScriptedResponder() override;
    ScriptedResponder(const ScriptedResponder&) = delete;
    ScriptedResponder& operator=(const ScriptedResponder&) = delete;

    // Answers for the next message boxes, input boxes and file dialogs, in order. Without a
    // queued answer a message box gets the harmless one for its buttons (OK, Cancel or No),
    // an input box is cancelled and a file dialog returns no name.
    void queueAnswer(int answer);
    void queueInput(const InputAnswer& answer);
    void queueFileName(const QString& fileName);
    // The index a choice list answers with (without one queued, the choice is cancelled).
    void queueChoice(int index);

    // Forgets what was recorded and every answer still queued.
    void clear();
    // The text of the last message box, or an empty text when none was shown.
    QString lastText() const;

    QList<RecordedMessage> messages;
    QList<RecordedInput> inputs;
    QList<RecordedFileDialog> fileDialogs;
    QList<RecordedChoice> choices;

    int message(const QString& text, int code, const QString& title) override;
    InputAnswer input(const QString& prompt, const QString& title, const QString& initial) override;
    QString fileName(bool save, const QString& caption, const QString& directory,
                     const QString& filter) override;
    int choice(const QString& prompt, const QString& title, const QStringList& items) override;

private:
    MessageResponder* m_previous = nullptr;
    QQueue<int> m_answers;
    QQueue<InputAnswer> m_inputs;
    QQueue<QString> m_fileNames;
    QQueue<int> m_choices;
};

} // namespace mv::test
