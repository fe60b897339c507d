#include "scanner/VendorTally.h"

#include "scanner/TermMatcher.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

bool isLabelCharacter(QChar c)
{
    return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('-'));
}

unsigned char folded(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// The program of name, "<domain>.<vendor>.<program>[...]" with a vendor of vendorLength
// characters, case-folded; nothing when name is no such identifier.
QString programOf(const QString &name, qsizetype vendorLength)
{
    const qsizetype firstDot = name.indexOf(QLatin1Char('.'));
    if (!isDomainPrefix(QStringView(name).left(firstDot)))
        return {};
    const qsizetype programStart = firstDot + 1 + vendorLength + 1;
    if (programStart >= wordsOf(name).end)
        return {}; // "com.acme.plist": the vendor's own file, no program
    const qsizetype programEnd = name.indexOf(QLatin1Char('.'), programStart);
    return name.mid(programStart, programEnd < 0 ? -1 : programEnd - programStart).toCaseFolded();
}

} // namespace

VendorTally::VendorTally(const QStringList &candidates)
{
    for (const QString &word : candidates) {
        if (word.isEmpty() || !std::all_of(word.begin(), word.end(), isLabelCharacter))
            continue;
        const QByteArray folded = word.toLatin1().toLower();
        const bool known = std::any_of(m_candidates.begin(), m_candidates.end(),
                                       [&](const Candidate &c) { return c.folded == folded; });
        if (!known)
            m_candidates.push_back({word, folded, {}});
    }
}

void VendorTally::count(QByteArrayView name)
{
    // Most names are ruled out by their bytes: the candidate must stand between the first and
    // the second dot. Only those that pass are decoded.
    if (name.isEmpty())
        return;
    const char *bytes = name.data();
    const auto *firstDot = static_cast<const char *>(std::memchr(bytes, '.', name.size()));
    if (!firstDot || firstDot == bytes)
        return;
    const qsizetype vendorStart = firstDot - bytes + 1;
    for (Candidate &candidate : m_candidates) {
        const qsizetype length = candidate.folded.size();
        if (candidate.programs.size() >= kPrograms || vendorStart + length >= name.size() ||
            bytes[vendorStart + length] != '.')
            continue;
        qsizetype i = 0;
        while (i < length && folded(uchar(bytes[vendorStart + i])) == uchar(candidate.folded.at(i)))
            ++i;
        if (i < length)
            continue;
        const QString program = programOf(QFile::decodeName(name.toByteArray()), length);
        if (!program.isEmpty())
            candidate.programs.insert(program);
    }
}

QStringList VendorTally::vendors() const
{
    QStringList words;
    for (const Candidate &candidate : m_candidates) {
        if (candidate.programs.size() >= kPrograms)
            words.append(candidate.word);
    }
    return words;
}
