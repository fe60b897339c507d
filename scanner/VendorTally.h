#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// Tells, from the entry names of the searched folders, which of a few words name a vendor: the
// second part of the reverse-domain identifiers of at least kPrograms different programs
// ("acme" of com.acme.Sync.plist, com.acme.Player and com.acme.Vault). Programs are told apart
// by the identifier's third part; a vendor's own settings file ("com.acme.plist") is no program.
// Whether a word is a vendor's depends on the home: a small vendor's name is a good term until a
// home holds several of its programs. Three, not two: a program with one companion of its own
// identifier (com.acme.Sync and com.acme.SyncLauncher) is common and names no vendor yet.
class VendorTally
{
public:
    static constexpr int kPrograms = 3;

    // The words to judge. Only words that can be a domain name's part (ASCII letters, digits,
    // "-") can be a vendor; the others are left out.
    explicit VendorTally(const QStringList &candidates);

    bool isEmpty() const { return m_candidates.empty(); }
    // Counts one entry name as the file system gives it.
    void count(QByteArrayView name);
    // The candidates seen as the vendor of kPrograms programs or more.
    QStringList vendors() const;

private:
    struct Candidate
    {
        QString word;
        QByteArray folded; // lower-case ASCII
        QSet<QString> programs;
    };
    std::vector<Candidate> m_candidates;
};
