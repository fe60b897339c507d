#pragma once

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// A place below the top of a walk that the walk must know about: one named by a category, a
// user's own folder, one measured before, or a folder on the way to one of them.
struct WalkPlace
{
    QString path;
    int bucket = -1; // where its bytes go; -1: the enclosing folder's bucket
    // Measured before: taken as it is, not walked again (unless places lie below); -1: unknown.
    qint64 knownSize = -1;
    // Each child that is no place of its own, or is one without a bucket, is a unit: it gets a
    // bucket of its own (a file only from the plan's unit minimum on).
    bool childrenAreUnits = false;
    std::map<std::string, std::unique_ptr<WalkPlace>, std::less<>> children; // by encoded name

    const WalkPlace *child(std::string_view name) const;
};

// What a walk of one folder is told about the places below its top, and where it puts the bytes
// it finds: each byte goes to one bucket, that of the deepest place or unit it lies in (the top's
// bucket is 0). So one walk gives the size of every named place, of the rest around them and of
// each unit: the largest folders of the home, the children of a folder.
//
// Built before the walk; during it the walk's threads add units and bytes.
class WalkPlan
{
public:
    struct Bucket
    {
        QString path;
        qint64 bytes = 0;
        qint64 newest = 0; // newest modification time in it, seconds since the epoch; 0: none
        bool isUnit = false;
        bool isFolder = false; // a unit that is a folder (else a file)
    };

    // Units beyond this many go to their parent's bucket: memory stays bounded on a folder with
    // millions of children.
    static constexpr int kMaxUnits = 50000;

    // Files below unitFileMinimum bytes are no units (none with the largest value).
    explicit WalkPlan(const QString &top, qint64 unitFileMinimum = 0);

    const QString &top() const { return m_root.path; }
    WalkPlace &root() { return m_root; }
    const WalkPlace &root() const { return m_root; }
    // The place at path (below the top), made with every place on the way; the top itself for
    // the top's own path; nothing for a path outside the top.
    WalkPlace *place(const QString &path);
    int addBucket(const QString &path);

    // For the walk, from any thread. A child folder of parent whose size is known and that holds
    // no places: it is not walked. Else nothing.
    const WalkPlace *knownFolder(const WalkPlace &parent, std::string_view name) const;
    struct Entry
    {
        const WalkPlace *place = nullptr; // the plan's place it is, if any
        int bucket = 0;
    };
    // A child of parent (a place; its bytes go to parentBucket) as the walk meets it. A folder
    // entered may become a unit; a file does when it holds at least the unit minimum.
    Entry enterFolder(const WalkPlace &parent, int parentBucket, std::string_view name);
    int fileBucket(const WalkPlace &parent, int parentBucket, std::string_view name, qint64 size);
    void add(int bucket, qint64 bytes, qint64 newest);

    // After the walk.
    std::vector<Bucket> buckets() const;

private:
    int unit(const WalkPlace &parent, std::string_view name, bool isFolder);

    WalkPlace m_root;
    qint64 m_unitFileMinimum;
    mutable std::mutex m_mutex;
    std::vector<Bucket> m_buckets;
    int m_units = 0;
};
