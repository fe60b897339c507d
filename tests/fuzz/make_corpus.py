#!/usr/bin/env python3
"""Writes the seed corpus of the property-list fuzz target into corpus/.

Well-formed lists come from Python's plistlib, a writer independent of ours; broken and hostile
ones are made by hand. Run it again after changing it and commit the result; keep every file
small (the tests generate the big and deep inputs themselves).
"""
import datetime
import os
import plistlib
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")

APP = {
    "CFBundleName": "Pixel Forge",
    "CFBundleDisplayName": "Pixel Forge Pro",
    "CFBundleIdentifier": "io.acme.pixelforge",
    "CFBundleIconFile": "AppIcon",
    "CFBundleShortVersionString": "2.4.1",
    "CFBundleVersion": "2410",
    "LSMinimumSystemVersion": "12.0",
    "NSHighResolutionCapable": True,
    "LSRequiresNativeExecution": False,
    "CFBundleDocumentTypes": [
        {"CFBundleTypeName": "Pixel Image", "CFBundleTypeExtensions": ["pxf", "pxl"],
         "LSHandlerRank": "Owner"},
    ],
    "BuildNumber": 2410,
    "NegativeNumber": -7,
    "BigNumber": 2**40,
    "Ratio": 0.75,
    "BuildDate": datetime.datetime(2023, 5, 17, 8, 30, 0),
    "Signature": b"\x00\x01binary\xff",
    "NSAppTransportSecurity": {"NSAllowsArbitraryLoads": True, "Domains": {}},
}

UNICODE = {
    "CFBundleName": "Caf\u00e9 \u00dcber \u65e5\u672c \U0001F600",
    "CFBundleIdentifier": "org.example.caf\u00e9",
    "Note": "line one\nline two\t100% done",
    "\u00c9t\u00e9": "summer",
    "": "empty key",
    "Empty": "",
}


def binary_list(objects, top, ref_size=1, offset_size=None, count=None, table_at=None):
    """Assembles a binary list from encoded objects (references already encoded)."""
    out = bytearray(b"bplist00")
    offsets = []
    for obj in objects:
        offsets.append(len(out))
        out += obj
    table = len(out) if table_at is None else table_at
    if offset_size is None:
        offset_size = 1 if offsets[-1] < 256 else 2 if offsets[-1] < 65536 else 4
    for offset in offsets:
        out += offset.to_bytes(offset_size, "big")
    out += bytes(6) + bytes([offset_size, ref_size])
    out += struct.pack(">QQQ", len(objects) if count is None else count, top, table)
    return bytes(out)


def ascii_obj(text):
    data = text.encode("ascii") if isinstance(text, str) else text
    return marker(0x5, len(data)) + data


def utf16_obj(text):
    data = text.encode("utf-16-be")
    return marker(0x6, len(data) // 2) + data


def marker(kind, count):
    if count < 15:
        return bytes([(kind << 4) | count])
    for exponent, width in ((0, 1), (1, 2), (2, 4), (3, 8)):
        if count < 1 << (8 * width):
            return bytes([(kind << 4) | 0xF, 0x10 | exponent]) + count.to_bytes(width, "big")
    raise ValueError(count)


def dict_obj(keys, values, ref_size=1):
    return marker(0xD, len(keys)) + b"".join(k.to_bytes(ref_size, "big") for k in keys + values)


def array_obj(items, ref_size=1):
    return marker(0xA, len(items)) + b"".join(i.to_bytes(ref_size, "big") for i in items)


def write(name, data):
    assert len(data) <= 100_000, name
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    for old in os.listdir(OUT):
        os.remove(os.path.join(OUT, old))

    xml_app = plistlib.dumps(APP, fmt=plistlib.FMT_XML)
    bin_app = plistlib.dumps(APP, fmt=plistlib.FMT_BINARY)
    write("xml-app.plist", xml_app)
    write("bin-app.plist", bin_app)
    write("xml-unicode.plist", plistlib.dumps(UNICODE, fmt=plistlib.FMT_XML))
    write("bin-unicode.plist", plistlib.dumps(UNICODE, fmt=plistlib.FMT_BINARY))
    write("xml-utf16.plist", plistlib.dumps(APP, fmt=plistlib.FMT_XML).decode("utf-8")
          .replace('encoding="UTF-8"', 'encoding="UTF-16"').encode("utf-16"))
    agent = {"Label": "io.acme.pixelforge.agent", "RunAtLoad": True,
             "ProgramArguments": ["/Applications/Pixel Forge.app/Contents/MacOS/agent", "--serve"]}
    write("xml-launch-agent.plist", plistlib.dumps(agent, fmt=plistlib.FMT_XML))
    write("bin-launch-agent.plist", plistlib.dumps(agent, fmt=plistlib.FMT_BINARY))
    write("xml-empty-dict.plist", plistlib.dumps({}, fmt=plistlib.FMT_XML))
    write("bin-empty-dict.plist", plistlib.dumps({}, fmt=plistlib.FMT_BINARY))
    write("bin-nul-in-string.plist",
          plistlib.dumps({"CFBundleName": "Foo\x00Bar", "CFBundleIdentifier": "a\x00b"},
                         fmt=plistlib.FMT_BINARY))
    write("xml-top-array.plist", plistlib.dumps(["a", "b"], fmt=plistlib.FMT_XML))
    write("bin-top-array.plist", plistlib.dumps(["a", "b"], fmt=plistlib.FMT_BINARY))
    write("xml-bare-dict.plist", b"<dict><key>CFBundleName</key><string>Bare</string></dict>")
    write("xml-duplicate-keys.plist",
          b"<plist><dict><key>CFBundleName</key><string>First</string>"
          b"<key>CFBundleName</key><integer>2</integer></dict></plist>")
    write("xml-truncated.plist", xml_app[: len(xml_app) // 2])
    write("bin-truncated.plist", bin_app[: len(bin_app) // 2])
    write("bin-no-trailer.plist", bin_app[:-32])
    write("xml-entity-bomb.plist",
          b'<?xml version="1.0"?><!DOCTYPE plist [<!ENTITY a "aaaaaaaaaa">'
          b'<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;"><!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;">]>'
          b"<plist><dict><key>CFBundleName</key><string>&c;</string></dict></plist>")
    write("xml-external-entity.plist",
          b'<?xml version="1.0"?><!DOCTYPE plist [<!ENTITY x SYSTEM "file:///etc/passwd">]>'
          b"<plist><dict><key>CFBundleName</key><string>&x;</string></dict></plist>")
    write("xml-bad-integer.plist",
          b"<plist><dict><key>N</key><integer>twelve</integer></dict></plist>")
    write("xml-key-without-value.plist",
          b"<plist><dict><key>CFBundleName</key></dict></plist>")
    write("xml-child-in-string.plist",
          b"<plist><dict><key>CFBundleName</key><string>a<b/>c</string></dict></plist>")
    write("xml-html.plist", b"<html><body>not a list</body></html>")
    write("xml-two-values.plist", b"<plist><dict/><dict/></plist>")

    depth = 1000
    write("xml-deep.plist",
          b"<plist><dict><key>CFBundleName</key><string>Deep</string><key>Nest</key>"
          + b"<array>" * depth + b"</array>" * depth + b"</dict></plist>")

    # Binary: a chain of arrays, each holding the next, under a top-level key.
    depth = 3000
    # Objects 3 .. depth+2 are the chain; the last array is empty; object depth+3 is "Deep".
    chain = [array_obj([i + 1], ref_size=2) for i in range(3, depth + 2)]
    chain.append(array_obj([], ref_size=2))
    top = dict_obj([1, 2], [3, depth + 3], ref_size=2)
    write("bin-deep.plist",
          binary_list([top, ascii_obj("Nest"), ascii_obj("CFBundleName")] + chain
                      + [ascii_obj("Deep")], 0, ref_size=2, offset_size=2))

    # Cycles: the top dictionary holds itself and an array that holds itself.
    write("bin-cycle.plist",
          binary_list([dict_obj([1, 2, 3], [0, 4, 5]), ascii_obj("Self"), ascii_obj("Loop"),
                       ascii_obj("CFBundleName"), array_obj([4, 0]), ascii_obj("Cyclic")], 0))
    write("bin-nonstring-key.plist",
          binary_list([dict_obj([1], [2]), b"\x10\x07", ascii_obj("seven")], 0))
    write("bin-dict-as-key.plist", binary_list([dict_obj([0], [1]), ascii_obj("v")], 0))
    write("bin-utf16-key.plist",
          binary_list([dict_obj([1], [2]), utf16_obj("Nom \u00e9t\u00e9"), utf16_obj("\u00c9t\u00e9")], 0))
    write("bin-ascii-high-byte.plist",
          binary_list([dict_obj([1], [2]), ascii_obj("CFBundleName"), ascii_obj(b"Caf\xe9")], 0))
    write("bin-huge-count.plist",
          binary_list([bytes([0xDF, 0x13]) + (2**62).to_bytes(8, "big") + b"\x01\x02",
                       ascii_obj("k"), ascii_obj("v")], 0))
    write("bin-huge-string.plist",
          binary_list([dict_obj([1], [2]), ascii_obj("k"),
                       bytes([0x5F, 0x13]) + (2**63 - 1).to_bytes(8, "big") + b"abc"], 0))
    bad_offset = bytearray(
        binary_list([dict_obj([1], [2]), ascii_obj("k"), ascii_obj("v")], 0))
    table = struct.unpack(">Q", bad_offset[-8:])[0]
    bad_offset[table + 2] = 0xFF  # the value's offset points past the end
    write("bin-bad-offset.plist", bytes(bad_offset))
    write("bin-bad-ref.plist", binary_list([dict_obj([1], [9]), ascii_obj("k"), ascii_obj("v")], 0))
    write("bin-top-out-of-range.plist",
          binary_list([dict_obj([1], [2]), ascii_obj("k"), ascii_obj("v")], 7))
    write("bin-zero-sizes.plist",
          binary_list([dict_obj([1], [2]), ascii_obj("k"), ascii_obj("v")], 0, ref_size=0))
    # Many references into one long string object, used as every key.
    long_string = ascii_obj("x" * 4000)
    n = 500
    write("bin-shared-key.plist",
          binary_list([dict_obj([1] * n, [1] * n, ref_size=2), long_string], 0, ref_size=2))
    write("bplist-newer-version.plist", b"bplist15" + bin_app[8:])

    rng = random.Random(2024)
    write("garbage-random.bin", bytes(rng.randrange(256) for _ in range(2048)))
    write("garbage-bplist-header.bin", b"bplist00" + bytes(rng.randrange(256) for _ in range(200)))
    write("garbage-xml-like.bin", b"<?xml version=\"1.0\"?>\x00\x01<plist>\xff\xfe</plist>")
    write("empty.bin", b"")


if __name__ == "__main__":
    main()
