#pragma once

#include <QString>

#include <functional>

// Told what is being measured or searched now (a folder's path), for a progress line. May be
// called from the scanning thread; must be cheap.
using ScanProgress = std::function<void(const QString &what)>;
