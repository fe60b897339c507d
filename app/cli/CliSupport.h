#pragma once

#include "scanner/FileScanner.h"

#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

// What every command of the command line shares: its exit statuses, printing (results on
// stdout, progress and errors on stderr), parsing with a --help of its own, and the machine it
// looks at.
namespace Cli {

enum Status
{
    done = 0,       // everything asked was done
    partFailed = 1, // some part failed; each failure was told on stderr
    usage = 2,      // unknown command, option or item, or an item that is not one
};

// The version of the JSON shapes the commands print (README: "Command line").
constexpr int kJsonVersion = 1;

// Writes text with every control character but its own line breaks made visible (see
// escapedControls): a name holding "\x1b[2J" or a carriage return can neither clear the screen
// nor overwrite what was printed before it.
void print(FILE *stream, const QString &text);
// Control characters shown as escapes: "\x1b", "\r", "\t", "\n" (line breaks only when
// keepLineBreaks is false), C1 controls as "\x9b", and the marks that reorder text (U+202E and
// its kind) as "\u202e". JSON output needs none of this: its encoder escapes them itself.
QString escapedControls(const QString &text, bool keepLineBreaks = false);
// A name, path or tool's line as one line of text output.
inline QString oneLine(const QString &text)
{
    return escapedControls(text);
}
// "verlo: <message>" on stderr.
void printError(const QString &message);
// A JSON object with "version" added, indented, on stdout.
void printJson(QJsonObject object);
bool isTerminal(FILE *stream);

// The real machine, or the sample machine named by VERLO_DEMO_HOME and VERLO_DEMO_ROOT when
// both are folders (as machine.env of the sample machine sets them); then the program's settings
// are kept on that machine too (see DemoMachine), and its Trash and tools stay inside it.
FileScanner machineScanner();

// One command's parser: its description, its positional arguments and options, --help.
// parse() returns the exit status when the command should stop there: after printing its help
// (0), or on a usage error (2, told on stderr); nothing to go on.
class CommandParser
{
public:
    CommandParser(const QString &command, const QString &description);
    QCommandLineParser &parser() { return m_parser; }
    void addPositional(const QString &name, const QString &description, const QString &syntax);
    // minimum and maximum count of positional arguments (-1: no maximum).
    std::optional<int> parse(const QStringList &arguments, int minimum, int maximum);
    QStringList positional() const { return m_parser.positionalArguments(); }
    bool isSet(const QString &option) const { return m_parser.isSet(option); }
    // --json, which asks for JSON output instead of text.
    void addJsonOption();
    bool wantsJson() const { return isSet(QStringLiteral("json")); }

private:
    QString m_command;
    QCommandLineParser m_parser;
};

// Tells what a scan measures now on stderr, on one line rewritten in place, with a counter;
// only when stderr is a terminal, and not more often than ten times a second.
class ScanProgressLine
{
public:
    ScanProgressLine();
    ~ScanProgressLine(); // clears the line
    ScanProgressLine(const ScanProgressLine &) = delete;
    ScanProgressLine &operator=(const ScanProgressLine &) = delete;
    // The callback for the scanner, or an empty one when stderr is no terminal.
    ScanProgress callback();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace Cli
