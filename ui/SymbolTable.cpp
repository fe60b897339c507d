#include "ui/SymbolTable.h"

#include <QHash>

#include <algorithm>

namespace {

// The files keep the names of their icon set; the suffix says the weight ("-fill", "-bold").
const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> map = {
        // Sections and item fallbacks
        {QStringLiteral("app.fill"), QStringLiteral("squares-four-fill")},
        {QStringLiteral("app.generic"), QStringLiteral("app-window-fill")},
        {QStringLiteral("terminal.fill"), QStringLiteral("terminal-window-fill")},
        {QStringLiteral("cup.and.saucer.fill"), QStringLiteral("coffee-fill")},
        {QStringLiteral("internaldrive.fill"), QStringLiteral("hard-drive-fill")},
        {QStringLiteral("shippingbox.fill"), QStringLiteral("package-fill")},
        {QStringLiteral("leftovers.fill"), QStringLiteral("ghost-fill")},
        // Search, empty states, banners
        {QStringLiteral("magnifyingglass"), QStringLiteral("magnifying-glass")},
        {QStringLiteral("xmark.circle"), QStringLiteral("x-circle")},
        {QStringLiteral("xmark.circle.fill"), QStringLiteral("x-circle-fill")},
        {QStringLiteral("checkmark.circle"), QStringLiteral("check-circle")},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("check-circle-fill")},
        {QStringLiteral("checkmark"), QStringLiteral("check-bold")},
        {QStringLiteral("minus"), QStringLiteral("minus-bold")},
        {QStringLiteral("tray"), QStringLiteral("tray")},
        {QStringLiteral("arrow.left.circle"), QStringLiteral("arrow-circle-left")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("warning-fill")},
        // Detail pane controls
        {QStringLiteral("trash"), QStringLiteral("trash")},
        {QStringLiteral("arrow.up.arrow.down"), QStringLiteral("arrows-down-up")},
        {QStringLiteral("textformat.abc"), QStringLiteral("text-aa")},
        {QStringLiteral("arrow.clockwise"), QStringLiteral("arrow-clockwise")},
        {QStringLiteral("chevron.down"), QStringLiteral("caret-down-bold")},
        {QStringLiteral("chevron.right"), QStringLiteral("caret-right-bold")},
        {QStringLiteral("folder"), QStringLiteral("folder-simple")},
        {QStringLiteral("folder.fill"), QStringLiteral("folder-simple-fill")},
        {QStringLiteral("doc"), QStringLiteral("file")},
        {QStringLiteral("doc.fill"), QStringLiteral("file-fill")},
        // File categories
        {QStringLiteral("app.badge.fill"), QStringLiteral("app-window-fill")},
        {QStringLiteral("gearshape.fill"), QStringLiteral("gear-six-fill")},
        {QStringLiteral("gearshape.2.fill"), QStringLiteral("gear-fine-fill")},
        {QStringLiteral("externaldrive.fill"), QStringLiteral("hard-drives-fill")},
        {QStringLiteral("house.fill"), QStringLiteral("house-fill")},
        {QStringLiteral("bolt.fill"), QStringLiteral("lightning-fill")},
        {QStringLiteral("bolt.circle.fill"), QStringLiteral("rocket-launch-fill")},
        {QStringLiteral("doc.text.fill"), QStringLiteral("file-text-fill")},
        {QStringLiteral("clock.arrow.circlepath"), QStringLiteral("clock-counter-clockwise")},
        {QStringLiteral("network"), QStringLiteral("network")},
        {QStringLiteral("globe"), QStringLiteral("globe")},
        {QStringLiteral("arrow.triangle.branch"), QStringLiteral("git-branch")},
        {QStringLiteral("building.2.fill"), QStringLiteral("buildings-fill")},
        {QStringLiteral("arrow.down.circle.fill"), QStringLiteral("arrow-circle-down-fill")},
        {QStringLiteral("cylinder.split.1x2.fill"), QStringLiteral("database-fill")},
        {QStringLiteral("hammer"), QStringLiteral("hammer")},
        {QStringLiteral("arrow.down.app"), QStringLiteral("arrow-square-down")},
        {QStringLiteral("ipad.and.iphone"), QStringLiteral("devices")},
        {QStringLiteral("archivebox"), QStringLiteral("archive")},
        {QStringLiteral("archivebox.fill"), QStringLiteral("archive-fill")},
        {QStringLiteral("iphone"), QStringLiteral("device-mobile")},
    };
    return map;
}

} // namespace

QString SymbolTable::filePath(const QString &name)
{
    const auto it = table().constFind(name);
    if (it == table().constEnd())
        return {};
    return QStringLiteral(":/qt/qml/Verlo/icons/") + it.value() + QStringLiteral(".svg");
}

QStringList SymbolTable::names()
{
    QStringList list = table().keys();
    std::sort(list.begin(), list.end());
    return list;
}
