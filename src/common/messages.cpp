#include "common/messages.h"

#include <QTextStream>

#include <atomic>

namespace mv {

namespace {

std::atomic<MessageResponder*> installedResponder{nullptr};

// Without a responder (a tool or test that installed none) nothing may block: the message
// goes to stderr and the call answers as if cancelled, or OK for a plain message.
void printUnanswered(const QString& kind, const QString& title, const QString& text)
{
    QTextStream err(stderr);
    err << kind << QLatin1String(" [") << title << QLatin1String("] ") << text << Qt::endl;
}

} // namespace

MessageResponder* setMessageResponder(MessageResponder* responder)
{
    return installedResponder.exchange(responder);
}

MessageResponder* messageResponder()
{
    return installedResponder.load();
}

int msgBox(const QString& text, int code, const QString& title)
{
    if (MessageResponder* responder = messageResponder())
        return responder->message(text, code, title);
    printUnanswered(QStringLiteral("message"), title, text);
    return AnswerOk;
}

InputAnswer inputBox(const QString& prompt, const QString& title, const QString& initial)
{
    if (MessageResponder* responder = messageResponder())
        return responder->input(prompt, title, initial);
    printUnanswered(QStringLiteral("input"), title, prompt);
    return {};
}

InputAnswer passwordBox(const QString& prompt, const QString& title)
{
    if (MessageResponder* responder = messageResponder())
        return responder->secretInput(prompt, title);
    printUnanswered(QStringLiteral("input"), title, prompt);
    return {};
}

QString openFileName(const QString& caption, const QString& directory, const QString& filter)
{
    if (MessageResponder* responder = messageResponder())
        return responder->fileName(false, caption, directory, filter);
    printUnanswered(QStringLiteral("open file"), caption, directory);
    return {};
}

QString saveFileName(const QString& caption, const QString& directory, const QString& filter)
{
    if (MessageResponder* responder = messageResponder())
        return responder->fileName(true, caption, directory, filter);
    printUnanswered(QStringLiteral("save file"), caption, directory);
    return {};
}

int chooseItem(const QString& prompt, const QString& title, const QStringList& items)
{
    if (MessageResponder* responder = messageResponder())
        return responder->choice(prompt, title, items);
    printUnanswered(QStringLiteral("choice"), title, prompt);
    return -1;
}

} // namespace mv
