#include "viewmodel/KeptLeftovers.h"

#include <QSettings>

namespace {

const QString kKey = QStringLiteral("Leftovers/kept");

} // namespace

namespace KeptLeftovers {

QStringList names()
{
    return QSettings().value(kKey).toStringList();
}

void setNames(const QStringList &names)
{
    QStringList unique = names;
    unique.removeDuplicates();
    QSettings().setValue(kKey, unique);
}

} // namespace KeptLeftovers
