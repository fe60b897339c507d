#pragma once

#include "model/FileGroup.h"
#include "scanner/Machine.h"
#include "scanner/ScanProgress.h"

#include <QList>

// The System Data step of toolchains and environments: every installed version in the home
// folder, measured, the one in use kept out of reach.
class ToolchainScanner
{
public:
    explicit ToolchainScanner(Machine machine) : m_machine(std::move(machine)) {}

    // Every installed version of a toolchain, environment, IDE or game in the home folder, one
    // entry each (see ToolchainSources.h), largest first: the version in use is unremovable with
    // its reason; the others carry the tool's own removal command when the tool is there.
    QList<FileGroup> scanToolchains(const ScanProgress &progress = {}) const;

private:
    Machine m_machine;
};
