#include "app/cli/CliSupport.h"

#include "app/DemoMachine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QMutex>

#include <unistd.h>

namespace Cli {

namespace {

void write(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

bool reordersText(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

} // namespace

QString escapedControls(const QString &text, bool keepLineBreaks)
{
    QString result;
    result.reserve(text.size());
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\n' && keepLineBreaks)
            result += qc;
        else if (c == u'\n')
            result += QLatin1String("\\n");
        else if (c == u'\r')
            result += QLatin1String("\\r");
        else if (c == u'\t')
            result += QLatin1String("\\t");
        else if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            result += QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'));
        else if (reordersText(c))
            result += QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
        else
            result += qc;
    }
    return result;
}

void print(FILE *stream, const QString &text)
{
    write(stream, escapedControls(text, true));
}

void printError(const QString &message)
{
    print(stderr, QStringLiteral("verlo: ") + message + u'\n');
}

void printJson(QJsonObject object)
{
    object.insert(QStringLiteral("version"), kJsonVersion);
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

bool isTerminal(FILE *stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

FileScanner machineScanner()
{
    const std::optional<Places> machine = DemoMachine::fromEnvironment();
    if (!machine)
        return FileScanner();
    DemoMachine::keepSettingsOn(*machine);
    return FileScanner(*machine);
}

CommandParser::CommandParser(const QString &command, const QString &description)
    : m_command(command)
{
    m_parser.setApplicationDescription(description);
    m_parser.addHelpOption();
}

void CommandParser::addPositional(const QString &name, const QString &description,
                                  const QString &syntax)
{
    m_parser.addPositionalArgument(name, description, syntax);
}

void CommandParser::addJsonOption()
{
    m_parser.addOption(QCommandLineOption(
        QStringLiteral("json"), QCoreApplication::translate("Cli", "Print JSON (see README).")));
}

std::optional<int> CommandParser::parse(const QStringList &arguments, int minimum, int maximum)
{
    // arguments: the program, the command, then the command's own.
    const QStringList own = QStringList{arguments.value(0)} + arguments.mid(2);
    if (!m_parser.parse(own)) {
        printError(m_parser.errorText());
        return usage;
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        QString text = m_parser.helpText();
        // The usage line names the program and the command, not the path it was started by.
        const QString started = QCoreApplication::arguments().value(0);
        const qsizetype at = text.indexOf(started);
        if (!started.isEmpty() && at >= 0 && at < text.indexOf(u'\n'))
            text.replace(at, started.size(), QStringLiteral("verlo ") + m_command);
        print(stdout, text);
        return done;
    }
    const qsizetype count = m_parser.positionalArguments().size();
    if (count < minimum || (maximum >= 0 && count > maximum)) {
        printError(count < minimum
                       ? QCoreApplication::translate("Cli", "%1: missing argument (see verlo %1 "
                                                            "--help)")
                             .arg(m_command)
                       : QCoreApplication::translate("Cli", "%1: unexpected argument '%2'")
                             .arg(m_command, m_parser.positionalArguments().value(maximum)));
        return usage;
    }
    return std::nullopt;
}

struct ScanProgressLine::State
{
    QMutex mutex;
    QElapsedTimer sinceLast;
    int count = 0;
    bool shown = false;
};

ScanProgressLine::ScanProgressLine() : m_state(std::make_shared<State>()) {}

ScanProgressLine::~ScanProgressLine()
{
    QMutexLocker locker(&m_state->mutex);
    if (m_state->shown)
        write(stderr, QStringLiteral("\r\x1b[K"));
}

ScanProgress ScanProgressLine::callback()
{
    if (!isTerminal(stderr))
        return {};
    return [state = m_state](const QString &what) {
        QMutexLocker locker(&state->mutex);
        ++state->count;
        if (state->sinceLast.isValid() && state->sinceLast.elapsed() < 100)
            return;
        state->sinceLast.start();
        state->shown = true;
        // One terminal line: the end of a long path is what tells it apart.
        constexpr qsizetype kWidth = 60;
        const QString shown =
            what.size() > kWidth ? QStringLiteral("...") + what.right(kWidth) : what;
        write(stderr,
              QStringLiteral("\r\x1b[K") + QCoreApplication::translate("Cli", "Scanning (%1): %2")
                                               .arg(state->count)
                                               .arg(oneLine(shown)));
    };
}

} // namespace Cli
