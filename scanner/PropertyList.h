#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <optional>

// Reads the string values of a property list's top-level dictionary, and the first item of its
// arrays when that is a string, from XML or binary ("bplist00") bytes. Bundles and backups may
// ship hostile lists, so the reader is bounded and non-recursive: it never crashes, never hangs
// and never allocates beyond a fixed multiple of the input on any bytes. Nested containers are
// checked for shape but the rest of their contents is not kept.
namespace PropertyList {

struct TopLevelDictionary
{
    // Keys whose values are strings, with those values (strings may hold NUL characters).
    QHash<QString, QString> strings;
    // Every key of the dictionary, whatever its value's type.
    QSet<QString> keys;
    // Keys whose values are arrays that start with a string, with that first string (a launch
    // agent's ProgramArguments gives its program). Only the first item is kept, so this costs
    // no more than the strings above.
    QHash<QString, QString> arrayHeads;

    bool contains(const QString &key) const { return keys.contains(key); }
    // The value under key when it is a string; nothing when absent or of another type.
    std::optional<QString> string(const QString &key) const
    {
        auto it = strings.constFind(key);
        if (it == strings.constEnd())
            return std::nullopt;
        return *it;
    }
    // The first item of the array under key when it is a string.
    std::optional<QString> firstOfArray(const QString &key) const
    {
        auto it = arrayHeads.constFind(key);
        if (it == arrayHeads.constEnd())
            return std::nullopt;
        return *it;
    }
};

// Input larger than this is refused unread.
constexpr qint64 kMaxInputBytes = 16LL * 1024 * 1024;

// Nothing when the bytes are not a property list, or its top-level value is not a dictionary
// with string keys. A key given twice keeps its last value.
std::optional<TopLevelDictionary> readTopLevelDictionary(const QByteArray &bytes);

} // namespace PropertyList
