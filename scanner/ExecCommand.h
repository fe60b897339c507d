#pragma once

#include <QString>
#include <QStringList>

// What a desktop entry's Exec line starts, read from its arguments (DesktopEntry::splitExec).
//
// The program is the first argument after "env" and its settings. An interpreter or launcher
// ("python3", "sh -c", "java -jar", "flatpak run", "steam", ...) starts something else, so the
// program is never what the entry is about. The target is the application the arguments name
// when it is not the program in a mode of its own: what a launcher is given ("a.py",
// "org.example.App", "steam://rungameid/70"), and for any program a web application
// ("--app-id=abc" with its "--profile-directory=Default", "--app=https://...") or an address.
// Entries of one origin with the same program and target start the same application; an
// editor's "--settings" entry has no target and is the editor.
struct ExecCommand
{
    QString program;         // as written; empty when there is none
    bool isLauncher = false; // program is an interpreter or launcher
    QString target;          // empty: the program in a mode of its own
    QStringList arguments;   // those after the program

    static ExecCommand fromArguments(const QStringList &arguments);

    // True for the file name of an interpreter or launcher ("python3.11", "bash", "electron25",
    // "kioclient5", "wine64", "flatpak").
    static bool isLauncherName(const QString &name);

    // The entry starts its program itself: a program that may be the application's own file.
    bool startsProgramItself() const
    {
        return !program.isEmpty() && !isLauncher && target.isEmpty();
    }
};
