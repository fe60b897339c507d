#pragma once

#include "demo/MachineFolder.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// A machine (home folder and system root, see MachineFolder) in a new temporary folder, for one
// test. Creating a Sandbox points HOME at an empty folder of its own (not the machine's home) and
// clears XDG_DATA_HOME, so nothing reaches the real home of whoever runs the tests, and what
// looks past the machine's places at HOME is caught. Everything is removed when it goes away.
class Sandbox : public MachineFolder
{
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

private:
    QByteArray m_savedHome;
    QByteArray m_savedXdgDataHome;
    bool m_hadXdgDataHome = false;
};

// Runs a shell command line as the unprivileged user "nobody" (through setpriv when running as
// root, directly otherwise), for tests that need file permissions to count. Returns the exit code.
int runAsUnprivileged(const QString &commandLine, QByteArray *output = nullptr);

// Runs one function of the current test executable again in a child process as an unprivileged
// user (see runAsUnprivileged), with the given extra environment. The child knows it is the
// child through isUnprivilegedChild(). Returns the child's exit status (0 when the function
// passed) and its output.
int runTestFunctionAsUnprivileged(const QString &testFunction,
                                  const QMap<QString, QString> &environment,
                                  QByteArray *output = nullptr);
bool isUnprivilegedChild();
