#pragma once

#include <QString>
#include <QStringList>

// The one table from the symbol names the program uses ("terminal.fill", "chevron.down") to the
// bundled SVG files drawn for them (Phosphor icons, MIT licence, in ui/icons/).
class SymbolTable
{
public:
    // The resource path of the SVG for a symbol name; empty when the name is unknown.
    static QString filePath(const QString &name);
    // Every known symbol name, sorted.
    static QStringList names();
};
