#include "demo/SampleParts.h"

namespace sample {

void Part::folderOfSize(const QString &folder, qint64 total, const QStringList &names) const
{
    s.makeDir(folder);
    if (total <= 0 || names.isEmpty())
        return;
    qint64 left = total;
    for (int i = 0; i < names.size(); ++i) {
        const qint64 part = i == names.size() - 1 ? left : left * 6 / 10;
        file(folder + QLatin1Char('/') + names.at(i), qMax<qint64>(part, 512));
        left -= part;
    }
}

} // namespace sample
