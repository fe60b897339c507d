#include "model/AssociatedFile.h"

AssociatedFile::AssociatedFile(QString path, QString name, FileCategory category, qint64 size,
                               bool isSelected)
    : path(std::move(path)), name(std::move(name)), category(category), size(size),
      isSelected(isSelected)
{}

QString AssociatedFile::removalCommandText() const
{
    if (removalCommand.isEmpty())
        return {};
    QStringList words{removalCommand.first().section(QLatin1Char('/'), -1)};
    for (const QString &argument : removalCommand.mid(1)) {
        words.append(argument.contains(QLatin1Char(' '))
                         ? QLatin1Char('"') + argument + QLatin1Char('"')
                         : argument);
    }
    return words.join(QLatin1Char(' '));
}

const AssociatedFile &AssociatedFile::placeholder()
{
    static const AssociatedFile value(QStringLiteral("/dev/null"), QString(), FileCategory::caches,
                                      0, false);
    return value;
}
