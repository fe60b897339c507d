#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The name a program's entries share across places, lower-case: ".Sketchpad", "sketchpad.conf",
// "com.acme.Sketchpad.plist" and "sketchpad-gtk" are all "sketchpad". A leading dot, a known
// extension, a reverse-domain prefix (the identifier's third part is the program) and a toolkit
// suffix ("-gtk3", "-qt5") are taken off. Empty when nothing that names a program is left.
QString leftoverKey(QStringView entryName);

// The first word of a key ("gimp" of "gimp-2.10", "bash" of "bash_history"): a program's files
// often carry its name and a word of their own.
QString firstWord(const QString &key);

// Why the desktop or the system itself keeps an entry of this key ("dconf", "gtk-3.0",
// "mimeapps", "keyrings"), or nothing when it does not.
std::optional<QString> desktopOwnReason(const QString &key);

// True for an identifier of the system's own ("com.apple.finder", "org.gnome.desktop.interface",
// "org.freedesktop.IBus"), any letter case.
bool isSystemIdentifier(QStringView entryName);
