#pragma once

#include "model/FileGroup.h"

#include <QDateTime>
#include <QList>
#include <QString>

// How sure the finder is that a row's program is gone: certain when one of its entries points at
// something that no longer exists (a Flatpak's data of no installed Flatpak, an autostart entry
// whose program is missing); likely when only no installed thing is named so.
enum class LeftoverCertainty
{
    certain,
    likely,
};

QString caseName(LeftoverCertainty certainty);    // "certain", "likely"
QString displayName(LeftoverCertainty certainty); // "Certain", "Likely"

// What one probable former program left: its entries across the searched places, joined by name.
struct LeftoverRow
{
    QString name; // the shared name of its entries, lower-case ("sketchpad")
    QList<FileGroup> groups;
    qint64 size = 0;
    QDateTime lastModified; // the latest change of its entries; invalid when none is known
    LeftoverCertainty certainty = LeftoverCertainty::likely;
    QString reason; // why it is listed ("No installed application, ... is named sketchpad")
};
