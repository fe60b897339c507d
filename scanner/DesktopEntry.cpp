#include "scanner/DesktopEntry.h"

#include <QStringDecoder>

namespace {

const QString kGroup = QStringLiteral("[Desktop Entry]");

QString unescaped(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out.append(QLatin1Char(' '));
            break;
        case 'n':
            out.append(QLatin1Char('\n'));
            break;
        case 't':
            out.append(QLatin1Char('\t'));
            break;
        case 'r':
            out.append(QLatin1Char('\r'));
            break;
        case '\\':
            out.append(QLatin1Char('\\'));
            break;
        default:
            // Escapes that only Exec knows (\" \$) are kept for its own quoting rules.
            out.append(QLatin1Char('\\'));
            out.append(next);
        }
    }
    return out;
}

bool isTrue(const QString &value)
{
    return value == QLatin1String("true");
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray &bytes)
{
    if (bytes.size() > kMaxBytes || bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;

    DesktopEntry entry;
    bool inGroup = false;
    bool found = false;
    QStringList seen;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (found && inGroup)
                break; // the group ended; later groups are actions and others
            inGroup = line == kGroup;
            found = found || inGroup;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed().toString();
        if (key.contains(QLatin1Char('[')) || seen.contains(key))
            continue; // localized, or given twice
        seen.append(key);
        const QString value = unescaped(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Type"))
            entry.type = value;
        else if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("TryExec"))
            entry.tryExec = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("StartupWMClass"))
            entry.startupWMClass = value;
        else if (key == QLatin1String("X-Flatpak"))
            entry.flatpakID = value;
        else if (key == QLatin1String("X-SnapInstanceName"))
            entry.snapInstanceName = value;
        else if (key == QLatin1String("NoDisplay"))
            entry.noDisplay = isTrue(value);
        else if (key == QLatin1String("Hidden"))
            entry.hidden = isTrue(value);
    }
    if (!found)
        return std::nullopt;
    return entry;
}

std::optional<QStringList> DesktopEntry::splitExec(const QString &exec)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    bool onlyFieldCode = false; // the argument so far is one field code, dropped as a whole
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                quoted = false;
            } else if (c == QLatin1Char('\\') && i + 1 < exec.size() &&
                       QStringView(u"\"`$\\").contains(exec.at(i + 1))) {
                current.append(exec.at(++i));
            } else {
                current.append(c);
            }
            continue;
        }
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArgument && !onlyFieldCode)
                arguments.append(current);
            current.clear();
            inArgument = onlyFieldCode = false;
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = inArgument = true;
            onlyFieldCode = false;
            continue;
        }
        if (c == QLatin1Char('%') && i + 1 < exec.size()) {
            const QChar code = exec.at(++i);
            if (code == QLatin1Char('%')) {
                current.append(code);
                onlyFieldCode = false;
            } else if (!inArgument) {
                onlyFieldCode = true;
            }
            inArgument = true;
            continue;
        }
        current.append(c);
        inArgument = true;
        onlyFieldCode = false;
    }
    if (quoted)
        return std::nullopt;
    if (inArgument && !onlyFieldCode)
        arguments.append(current);
    return arguments;
}

ExecCommand DesktopEntry::command() const
{
    const std::optional<QStringList> arguments = splitExec(exec);
    return arguments ? ExecCommand::fromArguments(*arguments) : ExecCommand();
}
