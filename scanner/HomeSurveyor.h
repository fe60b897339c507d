#pragma once

#include "model/FileGroup.h"
#include "scanner/Machine.h"
#include "scanner/ScanProgress.h"

#include <QList>
#include <QString>

// The walk of the whole home that closes a System Data scan.
struct HomeSurvey
{
    QList<FileGroup> groups; // Your Files and Large Folders, each when it holds anything
    qint64 homeSize = 0;
    qint64 accountedSize = 0; // of the named groups, Your Files and the Large Folders listed
};

// The home as a whole (Your Files, Large Folders, how much of it is accounted for) and the
// largest children of one folder, each from one walk.
class HomeSurveyor
{
public:
    explicit HomeSurveyor(Machine machine) : m_machine(std::move(machine)) {}

    // One walk of the home for what the named groups leave: the user's own folders
    // (Places::userDirectories) summed as Your Files, never offered, and the largest folders
    // (and files) outside every named entry and user folder, as Large Folders, never ticked at
    // first, with their last change; with the home's size and how much of it is accounted for.
    // Sizes the machine's ledger holds (a scan's earlier steps) are taken as they are.
    HomeSurvey surveyHome(const QList<FileGroup> &named, const ScanProgress &progress = {}) const;
    // The entries of a folder, largest first, at most limit, measured in one walk: each by the
    // allocated size of everything in it, with its last change; empty ones left out.
    QList<AssociatedFile> largestChildren(const QString &folder, int limit) const;
    // During a System Data scan (a machine with a ledger): measures every subfolder of folder in
    // one walk and keeps their sizes in the ledger, for a step that measures them one by one.
    void measureEntriesAhead(const QString &folder) const;

private:
    Machine m_machine;
};
