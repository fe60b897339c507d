#include "scanner/Trash.h"

// Placeholder until the Trash is written: refuses everything.
Trash::Trash(QString home) : m_home(std::move(home)) {}

QString Trash::moveToTrash(const QString &) const
{
    return QStringLiteral("The Trash is not available");
}
