#pragma once

#include <QUuid>

// A new random (version 4) id for a record: what tells two rows or files apart while the program
// runs. Drawn from a generator of the calling thread, seeded once from the system: a scan makes
// thousands of records, and a system call for each would be a good part of its time.
QUuid newRecordId();
