#include "demo/PlistWriter.h"
#include "scanner/PlainPlistXml.h"
#include "scanner/PropertyList.h"
#include "scanner/PropertyListReaders.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <QtTest>

using PlistWriter::BinaryBuilder;
using PropertyList::readTopLevelDictionary;
using PropertyList::TopLevelDictionary;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

const QString kName = QStringLiteral("CFBundleName");

// Every value type a list can hold, so that the reader has to step over each of them.
QVariantMap appInfo()
{
    // clang-format off
    return {{kName, "Pixel Forge"}, {"CFBundleIdentifier", "io.acme.pixelforge"},
            {"BuildNumber", 2410}, {"Negative", qint64(-7)}, {"Huge", qint64(1) << 40},
            {"Ratio", 0.75}, {"NSHighResolutionCapable", true}, {"Empty", QString()},
            {"Built", QDateTime(QDate(2023, 5, 17), QTime(8, 30), QTimeZone::utc())},
            {"Signature", QByteArray("\x00\x01raw\xff", 6)},
            {"CFBundleDocumentTypes", QVariantList{QVariantMap{{"Extensions", QVariantList{"pxf"}}}}},
            {"ProgramArguments", QVariantList{"/usr/bin/pixeld", "--serve"}},
            {"Numbers", QVariantList{7, "x"}}, {"None", QVariantList{}}};
    // clang-format on
}

QByteArray corpusFile(const QString &name)
{
    QFile file(QFINDTESTDATA("../fuzz/corpus/" + name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing corpus file %s", qPrintable(name));
    return file.readAll();
}

QByteArray xmlList(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body +
           "</plist>";
}

// A binary list whose top dictionary maps keys to values, both given as encoded objects.
QByteArray binaryDict(const QList<QByteArray> &keys, const QList<QByteArray> &values)
{
    BinaryBuilder builder(2);
    QList<quint64> keyRefs, valueRefs;
    for (qsizetype i = 0; i < keys.size() + values.size(); ++i)
        (i < keys.size() ? keyRefs : valueRefs) << 1 + i;
    builder.add(builder.dict(keyRefs, valueRefs));
    for (const QByteArray &object : keys + values)
        builder.add(object);
    return builder.build(0);
}

} // namespace

class TestPropertyList : public QObject
{
    Q_OBJECT

private slots:
    void readsListsWeWrite()
    {
        // More than 15 entries and long strings use the extended count form in binary lists.
        QVariantMap many{{"Long", QString(70000, 'x')}, {"LongUnicode", QString(300, QChar(0xE9))}};
        for (int i = 0; i < 2000; ++i)
            many.insert(QStringLiteral("Key%1").arg(i),
                        i % 3 ? QVariant("v" + QString::number(i)) : i);
        for (const QVariantMap &map : {appInfo(), many}) {
            QHash<QString, QString> strings, heads;
            for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
                if (it.value().typeId() == QMetaType::QString)
                    strings.insert(it.key(), it.value().toString());
                const QVariantList list = it.value().toList();
                if (!list.isEmpty() && list.first().typeId() == QMetaType::QString)
                    heads.insert(it.key(), list.first().toString());
            }
            for (const QByteArray &bytes : {PlistWriter::xml(map), PlistWriter::binary(map)}) {
                const std::optional<TopLevelDictionary> dict = readTopLevelDictionary(bytes);
                QVERIFY2(dict, bytes.left(8).constData());
                QCOMPARE(dict->keys, QSet<QString>(map.keyBegin(), map.keyEnd()));
                QCOMPARE(dict->strings, strings);
                QCOMPARE(dict->arrayHeads, heads);
            }
        }
    }

    // The first item of a top-level array, when it is a string; a later value under the same
    // key replaces it. {XML value of "k", then the rest of the dictionary; the head of "k"}.
    void readsFirstItemOfArrays()
    {
        const QList<std::pair<QByteArray, std::optional<QString>>> cases = {
            {"<array><string>a</string><string>b</string></array>", "a"},
            {"<array><array><string>n</string></array><string>b</string></array>", {}},
            {"<array><dict><key>k</key><array><string>n</string></array></dict></array>", {}},
            {"<array><string>a</string></array><key>k</key><true/>", {}},
            {"<string>s</string><key>k</key><array><string>a</string></array>", "a"},
        };
        for (const auto &[value, head] : cases) {
            const QByteArray list = xmlList("<dict><key>k</key>" + value + "</dict>");
            TopLevelDictionary plain;
            QVERIFY(PropertyList::readPlainXml(list, &plain));
            QCOMPARE(plain.firstOfArray("k"), head);
            QCOMPARE(PropertyList::readXmlFully(list)->arrayHeads, plain.arrayHeads);
        }
        for (const char *file : {"xml-launch-agent.plist", "bin-launch-agent.plist"})
            QCOMPARE(readTopLevelDictionary(corpusFile(file))->firstOfArray("ProgramArguments"),
                     "/Applications/Pixel Forge.app/Contents/MacOS/agent");
        // Binary: the head is read through its reference, and a broken one passed over.
        for (const quint64 ref : {2, 9}) {
            BinaryBuilder builder(1);
            builder.add(builder.dict({1}, {3}));
            builder.add(BinaryBuilder::ascii("k"));
            builder.add(BinaryBuilder::ascii("/opt/d"));
            builder.add(builder.array({ref, 1}));
            const auto dict = readTopLevelDictionary(builder.build(0));
            QVERIFY(dict);
            QCOMPARE(dict->firstOfArray("k"),
                     ref == 2 ? std::optional<QString>("/opt/d") : std::nullopt);
        }
    }

    // Lists of another writer, hostile shapes and what is not a dictionary list (keyCount -1).
    void readsOrRefuses_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("keyCount");
        QTest::addColumn<QString>("key");
        QTest::addColumn<std::optional<QString>>("value");
        const auto reads = [](const char *row, const QByteArray &bytes, int keyCount,
                              const QString &key, const std::optional<QString> &value) {
            QTest::newRow(row) << bytes << keyCount << key << value;
        };
        const auto refused = [&](const char *row, const QByteArray &bytes) {
            reads(row, bytes, -1, QString(), {});
        };

        for (const char *file : {"xml-app.plist", "bin-app.plist", "xml-utf16.plist"})
            reads(file, corpusFile(file), 17, kName, QStringLiteral("Pixel Forge"));
        reads("array value", corpusFile("bin-app.plist"), 17, "CFBundleDocumentTypes", {});
        for (const char *file : {"xml-unicode.plist", "bin-unicode.plist"})
            reads(file, corpusFile(file), 6, QString(), QStringLiteral("empty key"));
        reads("binary cycle", corpusFile("bin-cycle.plist"), 3, kName, QStringLiteral("Cyclic"));
        reads("UTF-16 key", corpusFile("bin-utf16-key.plist"), 1, "Nom été", QStringLiteral("Été"));
        reads("bare dict", corpusFile("xml-bare-dict.plist"), 1, kName, QStringLiteral("Bare"));
        for (const char *file : {"xml-empty-dict.plist", "bin-empty-dict.plist"})
            reads(file, corpusFile(file), 0, kName, {});

        // clang-format off
        for (const char *file : {"xml-top-array.plist", "bin-top-array.plist", "xml-entity-bomb.plist",
                 "xml-external-entity.plist", "xml-bad-integer.plist", "xml-key-without-value.plist",
                 "xml-child-in-string.plist", "xml-two-values.plist", "bin-nonstring-key.plist",
                 "bin-dict-as-key.plist", "bin-ascii-high-byte.plist", "bin-huge-count.plist",
                 "bin-huge-string.plist", "bin-bad-offset.plist", "bin-bad-ref.plist", "empty.bin",
                 "bin-zero-sizes.plist", "bplist-newer-version.plist", "garbage-random.bin",
                 "garbage-bplist-header.bin"})
            refused(file, corpusFile(file));
        // Empty, text in a dictionary, unknown values, a value without key, bad data, NULs.
        for (const char *body : {"", "<dict>loose<key>a</key><string>b</string></dict>",
                 "<dict><key>a</key><color>red</color></dict>", "<dict><string>b</string></dict>",
                 "<dict><key>a</key><array><foo/></array></dict>", "<dict><key>a</key><data>@@@</data></dict>",
                 "<dict><key>a</key><string>a&#0;b</string></dict>"})
            refused(body, xmlList(body));
        // clang-format on
        refused("xml raw NUL",
                xmlList("<dict><key>a</key><string>a" + QByteArray(1, '\0') + "b</string></dict>"));
        BinaryBuilder topString;
        topString.add(BinaryBuilder::ascii("Foo"));
        refused("binary top string", topString.build(0));
        refused("binary unknown marker", binaryDict({BinaryBuilder::ascii("k")}, {"\x70"}));

        // NUL inside keys and values is kept; the last of duplicate keys wins, whatever the types.
        const QString nul = QStringLiteral("Foo") + QChar(0) + QStringLiteral("Bar");
        reads("NUL in ASCII key and value",
              binaryDict({BinaryBuilder::ascii(QByteArray("Na\0me", 5))},
                         {BinaryBuilder::ascii(QByteArray("Foo\0Bar", 7))}),
              1, QStringLiteral("Na") + QChar(0) + QStringLiteral("me"), nul);
        reads("NUL in UTF-16 value",
              binaryDict({BinaryBuilder::ascii("k")}, {BinaryBuilder::utf16(nul)}), 1, "k", nul);
        const QByteArray name = BinaryBuilder::ascii("CFBundleName");
        reads("binary duplicate keys",
              binaryDict({name, name}, {BinaryBuilder::ascii("First"), BinaryBuilder::integer(2)}),
              1, kName, {});
        reads("xml duplicate keys",
              xmlList("<dict><key>CFBundleName</key><integer>2</integer>"
                      "<key>CFBundleName</key><string>Second</string></dict>"),
              1, kName, QStringLiteral("Second"));
        reads("xml duplicate keys, the last no string",
              xmlList("<dict><key>CFBundleName</key><string>First</string>"
                      "<key>CFBundleName</key><array/></dict>"),
              1, kName, {});

        // Nested 100,000 deep: read without recursion.
        constexpr int depth = 100000;
        const QByteArray before = "<dict><key>CFBundleName</key><string>Deep</string><key>N</key>";
        const auto deep = [&](const QByteArray &open, const QByteArray &middle,
                              const QByteArray &close) {
            return xmlList(before + open.repeated(depth) + middle + close.repeated(depth) +
                           "</dict>");
        };
        reads("xml deep arrays", deep("<array>", "", "</array>"), 2, kName, QStringLiteral("Deep"));
        reads("xml deep dictionaries", deep("<dict><key>k</key>", "<true/>", "</dict>"), 2, kName,
              QStringLiteral("Deep"));
        refused("xml deep unclosed", deep("<array>", "", ""));
        // Binary: object 3 + i is an array holding object 4 + i; the last one holds the top
        // dictionary again, closing a cycle 100,000 long.
        BinaryBuilder chain(4);
        chain.add(chain.dict({1, 2}, {depth + 3, 3}));
        chain.add(name);
        chain.add(BinaryBuilder::ascii("Nest"));
        for (quint64 i = 0; i < depth; ++i)
            chain.add(chain.array({i + 1 < depth ? 4 + i : 0}));
        chain.add(BinaryBuilder::ascii("Deep"));
        reads("binary chain with cycle", chain.build(0), 2, kName, QStringLiteral("Deep"));

        // XML shapes near the size limit whose naive handling is quadratic: refused or read, but
        // always finished.
        const qsizetype n = PropertyList::kMaxInputBytes / 16;
        QByteArray attributes, namespaces;
        for (qsizetype i = 0; attributes.size() < n * 8; ++i)
            attributes += " a" + QByteArray::number(i) + "=\"\"";
        for (qsizetype i = 0; namespaces.size() < n * 6; ++i)
            namespaces += "<array xmlns:p" + QByteArray::number(i) + "=\"u\">";
        refused("many attributes", "<plist" + attributes + "><dict/></plist>");
        reads("a few attributes", "<plist version=\"1.0\" a='>' b=\"=\"><dict/></plist>", 0, kName,
              {});
        refused("nested namespace declarations",
                xmlList("<dict><key>a</key>" + namespaces + "</dict>"));
        refused("attribute defaults in the document type",
                "<!DOCTYPE plist [" + QByteArray("<!ATTLIST array a CDATA \"x\">").repeated(n / 4) +
                    "]><plist><dict><key>a</key>" + QByteArray("<array/>").repeated(n) +
                    "</dict></plist>");
        refused("long element name",
                xmlList("<dict><key>a</key><" + QByteArray(n * 8, 'q') + "/></dict>"));
        reads("many keys",
              xmlList("<dict>" + QByteArray("<key>k</key><true/>").repeated(n / 2) + "</dict>"), 1,
              "k", {});
        reads("many character references",
              xmlList("<dict><key>a</key><string>" + QByteArray("&#233;").repeated(n * 2) +
                      "</string></dict>"),
              1, "a", QString(n * 2, QChar(0x00E9)));
    }
    void readsOrRefuses()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, keyCount);
        QFETCH(QString, key);
        QFETCH(std::optional<QString>, value);
        QVERIFY(bytes.size() <= PropertyList::kMaxInputBytes);
        const std::optional<TopLevelDictionary> dict = readTopLevelDictionary(bytes);
        QCOMPARE(dict.has_value(), keyCount >= 0);
        if (!dict)
            return;
        QCOMPARE(dict->keys.size(), keyCount);
        QCOMPARE(dict->string(key), value);
        QCOMPARE(dict->contains(key), keyCount > 0);
    }

    void truncatedOrCorruptedList_neverReadsOrCrashes()
    {
        const QByteArray binary = PlistWriter::binary(appInfo());
        const QByteArray xml = PlistWriter::xml(appInfo());
        for (const QByteArray &list : {binary, xml.left(xml.indexOf("</plist>") + 8)}) {
            QVERIFY(readTopLevelDictionary(list));
            for (qsizetype length = 0; length < list.size(); ++length)
                QVERIFY2(!readTopLevelDictionary(list.left(length)), qPrintable(list.left(length)));
        }
        // Every single-byte change of the binary list: whatever comes back must be consistent.
        int read = 0;
        for (qsizetype i = 0; i < binary.size(); ++i) {
            for (const uchar value : {0x00, 0x0F, 0x7F, 0x80, 0xFF}) {
                QByteArray corrupted = binary;
                corrupted[i] = static_cast<char>(value);
                const auto dict = readTopLevelDictionary(corrupted);
                read += dict ? 1 : 0;
                for (const QString &key : dict ? dict->strings.keys() : QList<QString>())
                    QVERIFY(dict->contains(key));
            }
        }
        QVERIFY(read > 0); // a changed letter inside a string still reads
    }

    void plainXmlReader_readsAsTheFullReaderOrDeclines()
    {
        // {document, whether the one-pass reader takes it}; whatever it takes, also with a byte
        // dropped here and there, it must read exactly as the full XML reader does.
        const QByteArray list = PlistWriter::xml(appInfo());
        const QList<std::pair<QByteArray, bool>> documents = {
            {list, true},
            {xmlList("<dict><key>a&amp;b</key><string>&lt;&quot;x&apos;&gt; \xc2\xa9\n</string>"
                     "</dict>"),
             true},
            {"<dict><key>k</key><true/><key>e</key><string/><key>d</key><dict/></dict>", true},
            // A later empty container under the same key removes the string.
            {xmlList("<dict><key>k</key><string>x</string><key>k</key><array/></dict>"), true},
            {"<plist version=\"1.0\"/>", false},
            {" " + list, false}, // space before <?xml
            {xmlList("<dict><key>a</key><string>&#233;</string></dict>"), false},
            {xmlList("<dict><!-- c --><key>a</key><string>x</string></dict>"), false},
            {xmlList("<dict><key>a</key><string>x\r\ny</string></dict>"), false},
            {xmlList("<dict><key>a</key><string>]]></string></dict>"), false},
            {xmlList("<dict><key>a</key><string>\xc2\x85</string></dict>"), false}, // C1 control
            {xmlList("<dict><key>a</key><string>\xff</string></dict>"), false},
            {xmlList("<dict><key>a</key><integer>x</integer></dict>"), false},
            {xmlList("<dict><key>a</key></dict>"), false},
            {xmlList("<dict><key>a</key><string>x</string></dict><dict/>"), false},
        };
        for (const auto &[document, takes] : documents) {
            TopLevelDictionary plain;
            QVERIFY2(PropertyList::readPlainXml(document, &plain) == takes, document.constData());
            for (qsizetype i = -1; i < document.size(); i += 7) {
                const QByteArray bytes = i < 0 ? document : document.left(i) + document.mid(i + 1);
                if (!PropertyList::readPlainXml(bytes, &plain))
                    continue;
                const auto full = PropertyList::readXmlFully(bytes);
                QVERIFY2(full && full->strings == plain.strings && full->keys == plain.keys &&
                             full->arrayHeads == plain.arrayHeads,
                         bytes.constData());
            }
        }
    }

    void sizeLimit_refusesLargerInputAndReadsBelowIt()
    {
        const QString big(50 * 1024 * 1024, 'x');
        const QString nearLimit(PropertyList::kMaxInputBytes - 4096, 'y');
        for (const QString &value : {big, nearLimit}) {
            const QVariantMap map{{kName, value}};
            for (const QByteArray &bytes : {PlistWriter::xml(map), PlistWriter::binary(map)}) {
                const auto dict = readTopLevelDictionary(bytes);
                QCOMPARE(dict.has_value(), value == nearLimit);
                QVERIFY(!dict || dict->string(kName) == nearLimit);
            }
        }
    }

    void sharedAndOverlappingObjects_costBoundedWork()
    {
        // A writer shares equal strings: 20,000 keys all holding one 200 kB value read fine.
        QVariantMap map;
        const QString shared(200000, 's');
        for (int i = 0; i < 20000; ++i)
            map.insert(QStringLiteral("K%1").arg(i), shared);
        const auto sharedDict = readTopLevelDictionary(PlistWriter::binary(map));
        QVERIFY(sharedDict);
        QCOMPARE(sharedDict->strings.size(), 20000);
        QCOMPARE(sharedDict->string(QStringLiteral("K19999")), shared);

        // 200,000 entries all keyed by one 50 kB string: 10 GB of hashing, so the list is refused.
        BinaryBuilder builder(4);
        constexpr int entries = 200000;
        builder.add(builder.dict(QList<quint64>(entries, 1), QList<quint64>(entries, 1)));
        builder.add(BinaryBuilder::ascii(QByteArray(50000, 'k')));
        QVERIFY(!readTopLevelDictionary(builder.build(0)));

        // Objects that overlap: 100,000 ASCII string headers, six bytes apart, each claiming the
        // next 1 MB as its text. Each is a different key, so decoding them all would copy 100 GB.
        constexpr quint64 count = 100000;
        constexpr quint64 textLength = 1 << 20;
        QByteArray bytes("bplist00");
        auto put = [&bytes](quint64 value, int width) {
            for (int i = width - 1; i >= 0; --i)
                bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        };
        const quint64 dictOffset = bytes.size();
        bytes += BinaryBuilder::marker(0xD, count);
        for (quint64 i = 0; i < 2 * count; ++i)
            put(i < count ? i + 1 : 1, 4); // keys: objects 1 .. count; values: object 1
        const quint64 runOffset = bytes.size();
        bytes +=
            QByteArray("\x5F\x12\x00\x10\x00\x00", 6).repeated(count) + QByteArray(textLength, 'a');
        const quint64 tableOffset = bytes.size();
        put(dictOffset, 4);
        for (quint64 i = 0; i < count; ++i)
            put(runOffset + 6 * i, 4);
        bytes += QByteArray(6, '\0') + char(4) + char(4);
        for (const quint64 value : {count + 1, quint64(0), tableOffset})
            put(value, 8);
        QVERIFY(!readTopLevelDictionary(bytes));

        // Control: the same bytes with the dictionary cut down to its first entry are a list.
        bytes.replace(dictOffset + 2, 4, QByteArray("\0\0\0\1", 4));
        const auto dict = readTopLevelDictionary(bytes);
        QVERIFY(dict);
        QCOMPARE(dict->keys.size(), 1);
        QCOMPARE(dict->strings.constBegin().key().size(), qsizetype(textLength));
        QCOMPARE(dict->strings.constBegin().value().size(), qsizetype(textLength));
    }
};

QTEST_GUILESS_MAIN(TestPropertyList)
#include "tst_propertylist.moc"
