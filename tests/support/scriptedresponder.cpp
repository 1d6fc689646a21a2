#include "scriptedresponder.h"

namespace mv::test {

ScriptedResponder::ScriptedResponder() : m_previous(setMessageResponder(this)) {}

ScriptedResponder::~ScriptedResponder()
{
    setMessageResponder(m_previous);
}

void ScriptedResponder::queueAnswer(int answer)
{
    m_answers.enqueue(answer);
}

void ScriptedResponder::queueInput(const InputAnswer& answer)
{
    m_inputs.enqueue(answer);
}

void ScriptedResponder::queueFileName(const QString& fileName)
{
    m_fileNames.enqueue(fileName);
}

void ScriptedResponder::queueChoice(int index)
{
    m_choices.enqueue(index);
}

void ScriptedResponder::clear()
{
    messages.clear();
    inputs.clear();
    fileDialogs.clear();
    choices.clear();
    m_choices.clear();
    m_answers.clear();
    m_inputs.clear();
    m_fileNames.clear();
}

QString ScriptedResponder::lastText() const
{
    return messages.isEmpty() ? QString() : messages.constLast().text;
}

int ScriptedResponder::message(const QString& text, int code, const QString& title)
{
    messages.append({text, code, title});
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    switch (code) {
    case MsgOkCancelWarn:
        return AnswerCancel;
    case MsgYesNo:
        return AnswerNo;
    default:
        return AnswerOk;
    }
}

InputAnswer ScriptedResponder::input(const QString& prompt, const QString& title,
                                     const QString& initial)
{
    inputs.append({prompt, title, initial});
    return m_inputs.isEmpty() ? InputAnswer{} : m_inputs.dequeue();
}

QString ScriptedResponder::fileName(bool save, const QString& caption, const QString& directory,
                                    const QString& filter)
{
    fileDialogs.append({save, caption, directory, filter});
    return m_fileNames.isEmpty() ? QString() : m_fileNames.dequeue();
}

int ScriptedResponder::choice(const QString& prompt, const QString& title, const QStringList& items)
{
    choices.append({prompt, title, items});
    return m_choices.isEmpty() ? -1 : m_choices.dequeue();
}

} // namespace mv::test
