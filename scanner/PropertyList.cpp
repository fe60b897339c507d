#include "scanner/PropertyList.h"

#include "scanner/PropertyListReaders.h"

namespace PropertyList {

std::optional<TopLevelDictionary> readTopLevelDictionary(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > kMaxInputBytes)
        return std::nullopt;
    if (bytes.startsWith("bplist")) {
        if (!bytes.startsWith("bplist00"))
            return std::nullopt;
        return readBinary(bytes);
    }
    return readXml(bytes);
}

} // namespace PropertyList
