#pragma once

#include "app/cli/CliSupport.h"
#include "model/AppInfo.h"
#include "model/FileGroup.h"
#include "model/Item.h"
#include "model/LeftoverRow.h"
#include "scanner/FileScanner.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>

#include <optional>

// The items the commands name, and their JSON. An ITEM argument is an installed application by
// name, bundle identifier or path, "npm:NAME" (a global npm package), "brew:NAME" (a Homebrew
// formula), "cask:NAME" (a Homebrew cask) or "leftover:NAME" (a row of verlo leftovers).
namespace Cli {

struct FoundItem
{
    Item record;
    QList<AppInfo> installedApps; // every installed application (an application's scan needs them)
};

// The one item the argument names; nothing, with *error telling why (unknown, or the names of
// every item it could mean), otherwise.
std::optional<FoundItem> findItem(const FileScanner &scanner, const QString &argument,
                                  QString *error);

// The ITEM argument of a command, with its help.
void addItemArgument(CommandParser &command);

// The one item the argument names and its files as the detail pane first shows them (ItemScan),
// scanned with a progress line on a terminal; nothing, told on stderr, when no single item is
// named.
struct ScannedItem
{
    FoundItem item;
    QList<FileGroup> groups;
};
std::optional<ScannedItem> findAndScanItem(const FileScanner &scanner, const QString &argument);

// {"section", "item", "name", "path", and "bundleIdentifier" / "version" / "type"}; absent
// texts are null. A leftover row: {"section": "leftovers", "item", "name", "certainty",
// "reason", "lastModified", "size"}.
QJsonObject toJson(const Item &item);
// "Preferences · 8 kB" and one line per file: "[x]" ticked, "[ ]" not, "[-]" never (with why).
QString groupsText(const QList<FileGroup> &groups);
// A leftover row with its groups (toJson of the groups).
QJsonObject toJson(const LeftoverRow &row);
// One object per group: {"category", "size", "files": [{"path", "name", "size", "ticked",
// "removable", "unremovableReason", "alsoUsedBy", "packageManaged", "removalCommand"}]}.
QJsonArray toJson(const QList<FileGroup> &groups);

} // namespace Cli
