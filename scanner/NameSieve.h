#pragma once

#include <QByteArrayView>
#include <QStringList>

#include <array>
#include <string>
#include <vector>

// A quick test on an entry name's raw bytes that rules out most names before they are decoded
// and matched. Every way a search matches a name (see ItemMatcher) needs its texts to occur in
// the name, letter case ignored: one term or whole name, or a quorum of identifier parts. For an
// ASCII name such occurrences are plain to see in the bytes, so a name without them is ruled out
// here. A name with any other byte is never ruled out: case folding can map a non-ASCII character
// onto an ASCII letter (the Kelvin sign onto "k"), and only the full match can tell.
class NameSieve
{
public:
    // A name may match when it holds one of anyOf, or quorum of partsOf.
    explicit NameSieve(const QStringList &anyOf, const QStringList &partsOf = {}, int quorum = 1);

    // False only when name is ASCII and holds neither.
    bool mayHold(QByteArrayView name) const;

private:
    struct Needle
    {
        std::string text; // case-folded ASCII
        int part;         // its index among the parts, or -1 for one of anyOf
    };
    void add(const QString &text, int part);
    void markStarts();
    void setStart(unsigned pair) { m_starts[pair / 64] |= quint64(1) << (pair % 64); }
    bool isStart(unsigned pair) const { return (m_starts[pair / 64] >> (pair % 64)) & 1; }
    bool holdsAt(const unsigned char *bytes, qsizetype size, qsizetype at,
                 quint64 &partsFound) const;

    std::vector<Needle> m_needles;
    std::array<bool, 256> m_singles{};              // needles of one byte, in both letter cases
    std::array<quint64, 256 * 256 / 64> m_starts{}; // pairs the scan looks for, in both cases
    bool m_hasSingles = false;
    int m_stride = 1; // every pair, or every other one when no needle is shorter than three
    int m_quorum;
};
