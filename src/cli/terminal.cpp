#include "cli/terminal.h"

#include <QDateTime>
#include <termios.h>
#include <unistd.h>

namespace mv::cli {

void printLine(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

bool stdinIsTerminal()
{
    return isatty(STDIN_FILENO) == 1;
}

bool stderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

bool readSecret(const QString& prompt, QString* text)
{
    if (!stdinIsTerminal())
        return false;
    std::fputs(prompt.toUtf8().constData(), stderr);
    std::fflush(stderr);
    termios saved{};
    const bool canHide = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (canHide) {
        termios hidden = saved;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        hidden.c_lflag |= ECHONL;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    QByteArray line;
    bool ended = true;
    for (int c; (c = std::fgetc(stdin)) != EOF;) {
        if (c == '\n') {
            ended = false;
            break;
        }
        line.append(char(c));
    }
    if (canHide)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    if (ended && line.isEmpty())
        return false;
    if (line.endsWith('\r'))
        line.chop(1);
    *text = QString::fromUtf8(line);
    return true;
}

int TerminalResponder::message(const QString& text, int code, const QString& title)
{
    Q_UNUSED(title);
    printLine(stderr, text);
    ++m_printed;
    // A question is answered no: the safe answer when nobody can be asked.
    return code == MsgYesNo ? AnswerNo : code == MsgOkCancelWarn ? AnswerCancel : AnswerOk;
}

InputAnswer TerminalResponder::input(const QString& prompt, const QString& title,
                                     const QString& initial)
{
    Q_UNUSED(prompt);
    Q_UNUSED(title);
    Q_UNUSED(initial);
    return {};
}

InputAnswer TerminalResponder::secretInput(const QString& prompt, const QString& title)
{
    Q_UNUSED(title);
    InputAnswer answer;
    answer.accepted = readSecret(prompt, &answer.text);
    return answer;
}

QString TerminalResponder::fileName(bool save, const QString& caption, const QString& directory,
                                    const QString& filter)
{
    Q_UNUSED(save);
    Q_UNUSED(caption);
    Q_UNUSED(directory);
    Q_UNUSED(filter);
    return {};
}

TerminalProgress::TerminalProgress(const QString& label)
    : m_label(label), m_active(stderrIsTerminal())
{
}

TerminalProgress::~TerminalProgress()
{
    if (m_drawn) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

void TerminalProgress::show(qint64 done, qint64 total)
{
    if (!m_active)
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_drawn && done < total && now - m_lastDraw < 100)
        return;
    m_lastDraw = now;
    m_drawn = true;
    const QString text = QStringLiteral("\r%1 %2/%3").arg(m_label).arg(done).arg(total);
    std::fputs(text.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

} // namespace mv::cli
