#include "app/CommandLine.h"

#include "app/VerloApp.h"
#include "app/cli/Commands.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

// The name people type, whatever path started the program.
const QString kProgram = QStringLiteral("verlo");

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QCoreApplication::translate(
            "CommandLine",
            "Finds what installed software leaves on disk and moves it to the Trash.") +
        QStringLiteral("\n\n") +
        QCoreApplication::translate(
            "CommandLine",
            "Without a command, opens the window. Commands (each has its own --help):\n"
            "  list apps|npm|brew [--json]     the installed items of a section\n"
            "  files ITEM [--json]             the files found for one item\n"
            "  remove ITEM [--all | --only CATEGORY...] [--dry-run] [--yes] [--force]\n"
            "                                  removes an item as the window does\n"
            "  system-data [--json]            the System Data categories\n"
            "  restore --last | TRASH-NAME...  puts items back from the Trash"));
    parser.addHelpOption();
    parser.addVersionOption();
}

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}

} // namespace

namespace CommandLine {

std::optional<int> answerWithoutWindow(int argc, char *argv[])
{
    if (argc > 1 && Cli::isCommand(QString::fromLocal8Bit(argv[1]))) {
        QCoreApplication app(argc, argv);
        VerloApp::nameApplication();
        return Cli::run(QCoreApplication::arguments());
    }
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    describe(parser);
    // Qt's own window options (-platform ...) are unknown here; only what was asked counts.
    parser.parse(arguments);
    if (parser.isSet(QStringLiteral("version"))) {
        print(stdout, kProgram + u' ' + QStringLiteral(VERLO_VERSION) + u'\n');
        return 0;
    }
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    if (!helpAll && !parser.isSet(QStringLiteral("help")))
        return std::nullopt;

    // The help text reads the program's path from the application object.
    QCoreApplication app(argc, argv);
    if (helpAll)
        parser.process(app); // prints the help with Qt's options and exits
    QString text = parser.helpText();
    // The usage line names the program, not the path it was started by.
    const QString started = QCoreApplication::arguments().constFirst();
    const qsizetype at = text.indexOf(started);
    if (at >= 0 && at < text.indexOf(u'\n'))
        text.replace(at, started.size(), kProgram);
    print(stdout, text);
    return 0;
}

int checkWindowArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments)) {
        print(stderr, kProgram + QStringLiteral(": ") + parser.errorText() + u'\n');
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, kProgram + QStringLiteral(": ") +
                          QCoreApplication::translate("CommandLine", "unexpected argument '%1'")
                              .arg(parser.positionalArguments().constFirst()) +
                          u'\n');
        return 2;
    }
    return 0;
}

} // namespace CommandLine
