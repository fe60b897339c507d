#include "scanner/WalkPlan.h"

#include <QDir>
#include <QFile>

#include <algorithm>

const WalkPlace *WalkPlace::child(std::string_view name) const
{
    if (children.empty())
        return nullptr;
    const auto found = children.find(name);
    return found == children.end() ? nullptr : found->second.get();
}

WalkPlan::WalkPlan(const QString &top, qint64 unitFileMinimum) : m_unitFileMinimum(unitFileMinimum)
{
    m_root.path = QDir::cleanPath(top);
    m_root.bucket = 0;
    m_buckets.push_back(Bucket{m_root.path, 0, 0, false, true});
}

WalkPlace *WalkPlan::place(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    if (clean == m_root.path)
        return &m_root;
    const QString prefix = m_root.path == QLatin1String("/") ? m_root.path : m_root.path + u'/';
    if (!clean.startsWith(prefix))
        return nullptr;
    WalkPlace *current = &m_root;
    for (const QString &component : clean.mid(prefix.size()).split(u'/')) {
        const std::string name = QFile::encodeName(component).toStdString();
        std::unique_ptr<WalkPlace> &next = current->children[name];
        if (!next) {
            next = std::make_unique<WalkPlace>();
            next->path = current->path == QLatin1String("/") ? u'/' + component
                                                             : current->path + u'/' + component;
        }
        current = next.get();
    }
    return current;
}

int WalkPlan::addBucket(const QString &path)
{
    std::lock_guard lock(m_mutex);
    m_buckets.push_back(Bucket{path, 0, 0, false, true});
    return int(m_buckets.size()) - 1;
}

const WalkPlace *WalkPlan::knownFolder(const WalkPlace &parent, std::string_view name) const
{
    const WalkPlace *child = parent.child(name);
    return child && child->knownSize >= 0 && child->children.empty() ? child : nullptr;
}

WalkPlan::Entry WalkPlan::enterFolder(const WalkPlace &parent, int parentBucket,
                                      std::string_view name)
{
    const WalkPlace *child = parent.child(name);
    if (child && child->bucket >= 0)
        return {child, child->bucket};
    if (parent.childrenAreUnits)
        return {child, unit(parent, name, true)};
    return {child, parentBucket};
}

int WalkPlan::fileBucket(const WalkPlace &parent, int parentBucket, std::string_view name,
                         qint64 size)
{
    const WalkPlace *child = parent.child(name);
    if (child && child->bucket >= 0)
        return child->bucket;
    if (parent.childrenAreUnits && size >= m_unitFileMinimum)
        return unit(parent, name, false);
    return parentBucket;
}

int WalkPlan::unit(const WalkPlace &parent, std::string_view name, bool isFolder)
{
    const QString decoded = QFile::decodeName(QByteArray(name.data(), qsizetype(name.size())));
    const QString path =
        parent.path == QLatin1String("/") ? u'/' + decoded : parent.path + u'/' + decoded;
    std::lock_guard lock(m_mutex);
    if (m_units >= kMaxUnits)
        return parent.bucket;
    ++m_units;
    m_buckets.push_back(Bucket{path, 0, 0, true, isFolder});
    return int(m_buckets.size()) - 1;
}

void WalkPlan::add(int bucket, qint64 bytes, qint64 newest)
{
    std::lock_guard lock(m_mutex);
    Bucket &target = m_buckets[size_t(bucket)];
    target.bytes += bytes;
    target.newest = std::max(target.newest, newest);
}

std::vector<WalkPlan::Bucket> WalkPlan::buckets() const
{
    std::lock_guard lock(m_mutex);
    return m_buckets;
}
