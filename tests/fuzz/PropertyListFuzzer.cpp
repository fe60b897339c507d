// libFuzzer entry point for the property-list reader. Besides "no crash, no hang, no runaway
// allocation" (the sanitizers and libFuzzer's limits check those), it checks the reader's own
// promises about what it returns, and that the one-pass reader of plain XML lists reads every
// list it takes exactly as the full XML reader does.
#include "scanner/PlainPlistXml.h"
#include "scanner/PropertyList.h"
#include "scanner/PropertyListReaders.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    PropertyList::TopLevelDictionary plain;
    if (PropertyList::readPlainXml(bytes, &plain)) {
        const auto full = PropertyList::readXmlFully(bytes);
        if (!full || full->strings != plain.strings || full->keys != plain.keys ||
            full->arrayHeads != plain.arrayHeads)
            std::abort();
    }
    const auto dict = PropertyList::readTopLevelDictionary(bytes);
    if (!dict)
        return 0;
    // Every string value and array head belongs to a recorded key.
    for (const auto *values : {&dict->strings, &dict->arrayHeads}) {
        for (auto it = values->constBegin(); it != values->constEnd(); ++it) {
            if (!dict->contains(it.key()))
                std::abort();
        }
    }
    // Reading is deterministic.
    const auto again = PropertyList::readTopLevelDictionary(bytes);
    if (!again || again->strings != dict->strings || again->keys != dict->keys ||
        again->arrayHeads != dict->arrayHeads)
        std::abort();
    return 0;
}
