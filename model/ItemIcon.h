#pragma once

#include <QString>

// An icon the views can draw: a named symbol ("terminal.fill"), an image file (a bundle's .icns),
// or the file manager's icon for whatever lies at a path (a folder, a file).
struct ItemIcon
{
    enum class Kind
    {
        Symbol,
        ImageFile,
        Workspace
    };

    Kind kind = Kind::Symbol;
    QString value; // symbol name, image file path, or the path whose workspace icon is meant

    static ItemIcon symbol(const QString &name) { return {Kind::Symbol, name}; }
    static ItemIcon imageFile(const QString &path) { return {Kind::ImageFile, path}; }
    static ItemIcon workspace(const QString &path) { return {Kind::Workspace, path}; }

    // A URL-like text for QML: "symbol:NAME", "image:PATH" or "workspace:PATH".
    QString toSource() const
    {
        switch (kind) {
        case Kind::Symbol:
            return QStringLiteral("symbol:") + value;
        case Kind::ImageFile:
            return QStringLiteral("image:") + value;
        case Kind::Workspace:
            return QStringLiteral("workspace:") + value;
        }
        return {};
    }

    friend bool operator==(const ItemIcon &, const ItemIcon &) = default;
};
