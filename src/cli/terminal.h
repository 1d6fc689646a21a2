#pragma once
// The terminal of a subcommand: messages go to stderr, a password is asked without echo
// when stdin is a terminal, progress is drawn on stderr only when stderr is a terminal.

#include "common/messages.h"

#include <QString>
#include <cstdio>

namespace mv::cli {

// Writes text and a line end to the stream as UTF-8.
void printLine(std::FILE* stream, const QString& text);

bool stdinIsTerminal();
bool stderrIsTerminal();

// Asks on the terminal with the prompt on stderr and echo off. False when stdin is no
// terminal or the input ended.
bool readSecret(const QString& prompt, QString* text);

// Answers the message service without a window: messages are printed on stderr, a password
// box is asked on the terminal; input boxes, questions and choices are declined, since
// nobody may be there to answer them.
class TerminalResponder : public MessageResponder
{
public:
    int message(const QString& text, int code, const QString& title) override;
    InputAnswer input(const QString& prompt, const QString& title, const QString& initial) override;
    InputAnswer secretInput(const QString& prompt, const QString& title) override;
    QString fileName(bool save, const QString& caption, const QString& directory,
                     const QString& filter) override;

    // How many messages were printed so far.
    int printed() const { return m_printed; }

private:
    int m_printed = 0;
};

// "label done/total" redrawn in place on stderr at most every 100 ms, and cleared when
// destroyed; does nothing when stderr is no terminal.
class TerminalProgress
{
public:
    explicit TerminalProgress(const QString& label);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void show(qint64 done, qint64 total);

private:
    QString m_label;
    bool m_active = false;
    bool m_drawn = false;
    qint64 m_lastDraw = 0;
};

} // namespace mv::cli
