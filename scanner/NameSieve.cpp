#include "scanner/NameSieve.h"

#include <QChar>
#include <QStringView>

#include <algorithm>
#include <array>
#include <bit>
#include <optional>

namespace {

unsigned char folded(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// The text with each character case-folded as case-insensitive comparison does, when all of
// them fold into ASCII; otherwise the text can never occur in an ASCII name.
std::optional<std::string> foldedAscii(const QString &text)
{
    std::string out;
    out.reserve(text.size());
    for (const uint c : QStringView(text).toUcs4()) {
        const char32_t f = QChar::toCaseFolded(char32_t(c));
        if (f >= 0x80)
            return std::nullopt;
        out.push_back(char(f));
    }
    return out;
}

std::array<unsigned char, 2> bothCases(unsigned char c)
{
    return {c, uchar(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c)};
}

} // namespace

NameSieve::NameSieve(const QStringList &anyOf, const QStringList &partsOf, int quorum)
    : m_quorum(std::max(1, quorum))
{
    for (const QString &text : anyOf)
        add(text, -1);
    // Parts beyond what a mask can count are treated as terms: never rules out more.
    for (qsizetype i = 0; i < partsOf.size(); ++i)
        add(partsOf[i], i < 64 && m_quorum > 1 ? int(i) : -1);
    markStarts();
}

void NameSieve::add(const QString &text, int part)
{
    std::optional<std::string> ascii = foldedAscii(text);
    if (!ascii || ascii->empty())
        return; // matches no ASCII name (and an empty text matches nothing)
    if (ascii->size() == 1) {
        for (const unsigned char c : bothCases(uchar((*ascii)[0])))
            m_singles[c] = true;
        m_hasSingles = true;
    }
    m_needles.push_back({std::move(*ascii), part});
}

void NameSieve::markStarts()
{
    // A needle of three bytes or more holds a pair that starts at an even offset of the name
    // wherever it lies: its first or its second. Looking at every other pair then finds it.
    m_stride = 2;
    for (const Needle &needle : m_needles)
        m_stride = needle.text.size() < 3 ? 1 : m_stride;
    for (const Needle &needle : m_needles) {
        for (size_t offset = 0; offset + 1 < needle.text.size() && offset < size_t(m_stride);
             ++offset) {
            for (const unsigned char first : bothCases(uchar(needle.text[offset]))) {
                for (const unsigned char second : bothCases(uchar(needle.text[offset + 1])))
                    setStart(first * 256 + second);
            }
        }
    }
}

bool NameSieve::mayHold(QByteArrayView name) const
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(name.data());
    const qsizetype size = name.size();
    unsigned any = 0;
    for (qsizetype at = 0; at < size; ++at)
        any |= bytes[at];
    if (any >= 0x80)
        return true;
    quint64 partsFound = 0;
    if (m_hasSingles) {
        for (qsizetype at = 0; at < size; ++at) {
            if (m_singles[bytes[at]] && holdsAt(bytes, size, at, partsFound))
                return true;
        }
    }
    for (qsizetype at = 0; at + 1 < size; at += m_stride) {
        if (!isStart(bytes[at] * 256 + bytes[at + 1]))
            continue;
        if (m_stride == 2 && at > 0 && holdsAt(bytes, size, at - 1, partsFound))
            return true;
        if (holdsAt(bytes, size, at, partsFound))
            return true;
    }
    return false;
}

// Whether a needle at at decides that the name may match; parts found are added to partsFound.
bool NameSieve::holdsAt(const unsigned char *bytes, qsizetype size, qsizetype at,
                        quint64 &partsFound) const
{
    for (const Needle &needle : m_needles) {
        const qsizetype length = qsizetype(needle.text.size());
        if (length > size - at)
            continue;
        qsizetype i = 0;
        while (i < length && folded(bytes[at + i]) == uchar(needle.text[i]))
            ++i;
        if (i < length)
            continue;
        if (needle.part < 0)
            return true;
        partsFound |= quint64(1) << needle.part;
        if (std::popcount(partsFound) >= m_quorum)
            return true;
    }
    return false;
}
