#include "scanner/PropertyList.h"
#include "tests/support/PlistWriter.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <QtTest>

using PlistWriter::BinaryBuilder;
using PropertyList::readTopLevelDictionary;
using PropertyList::TopLevelDictionary;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

QVariantMap appInfo()
{
    return {
        {QStringLiteral("CFBundleName"), QStringLiteral("Pixel Forge")},
        {QStringLiteral("CFBundleDisplayName"), QStringLiteral("Pixel Forge Pro")},
        {QStringLiteral("CFBundleIdentifier"), QStringLiteral("io.acme.pixelforge")},
        {QStringLiteral("CFBundleVersion"), QStringLiteral("2410")},
        {QStringLiteral("BuildNumber"), 2410},
        {QStringLiteral("Negative"), qint64(-7)},
        {QStringLiteral("Huge"), qint64(1) << 40},
        {QStringLiteral("Ratio"), 0.75},
        {QStringLiteral("NSHighResolutionCapable"), true},
        {QStringLiteral("LSUIElement"), false},
        {QStringLiteral("Built"), QDateTime(QDate(2023, 5, 17), QTime(8, 30), QTimeZone::utc())},
        {QStringLiteral("Signature"), QByteArray("\x00\x01raw\xff", 6)},
        {QStringLiteral("CFBundleDocumentTypes"),
         QVariantList{QVariantMap{{QStringLiteral("CFBundleTypeName"), QStringLiteral("Pixel")},
                                  {QStringLiteral("Extensions"),
                                   QVariantList{QStringLiteral("pxf"), QStringLiteral("pxl")}}}}},
        {QStringLiteral("Empty"), QString()},
    };
}

QHash<QString, QString> stringsOf(const QVariantMap &map)
{
    QHash<QString, QString> strings;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (it.value().typeId() == QMetaType::QString)
            strings.insert(it.key(), it.value().toString());
    }
    return strings;
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
    builder.add(QByteArray()); // the dictionary, filled in below
    QList<quint64> keyRefs, valueRefs;
    for (const QByteArray &key : keys)
        keyRefs.append(builder.add(key));
    for (const QByteArray &value : values)
        valueRefs.append(builder.add(value));
    BinaryBuilder rebuilt(2);
    rebuilt.add(builder.dict(keyRefs, valueRefs));
    for (const QByteArray &key : keys)
        rebuilt.add(key);
    for (const QByteArray &value : values)
        rebuilt.add(value);
    return rebuilt.build(0);
}

} // namespace

class TestPropertyList : public QObject
{
    Q_OBJECT

private slots:
    void readsListsWeWrite_data();
    void readsListsWeWrite();
    void readsListsOfAnotherWriter_data();
    void readsListsOfAnotherWriter();
    void refusesWhatIsNotADictionaryList_data();
    void refusesWhatIsNotADictionaryList();
    void truncatedOrCorruptedList_neverReadsOrCrashes();
    void nulInsideStrings_isKept();
    void lastOfDuplicateKeys_wins();
    void deepNesting_readsTopLevelWithoutRecursion_data();
    void deepNesting_readsTopLevelWithoutRecursion();
    void sizeLimit_refusesLargerInputAndReadsBelowIt();
    void sharedAndOverlappingObjects_costBoundedWork();
    void hostileXmlShapesAtTheSizeLimit_finish_data();
    void hostileXmlShapesAtTheSizeLimit_finish();
};

void TestPropertyList::readsListsWeWrite_data()
{
    QTest::addColumn<QVariantMap>("map");

    QVariantMap unicode{
        {QStringLiteral("CFBundleName"), QStringLiteral("Café Über 日本 😀")},
        {QStringLiteral("Été"), QStringLiteral("summer")},
        {QStringLiteral("Note"), QStringLiteral("line one\nline two\t100% done")},
        {QString(), QStringLiteral("empty key")},
    };
    QVariantMap many;
    for (int i = 0; i < 2000; ++i)
        many.insert(QStringLiteral("Key%1").arg(i),
                    i % 3 ? QVariant(QStringLiteral("v%1").arg(i)) : QVariant(i));
    // Long strings and more than 15 entries use the extended count form in binary lists.
    QVariantMap longValues{{QStringLiteral("Long"), QString(70000, QLatin1Char('x'))},
                           {QStringLiteral("LongUnicode"), QString(300, QChar(0x00E9))}};

    QTest::newRow("application") << appInfo();
    QTest::newRow("unicode") << unicode;
    QTest::newRow("empty") << QVariantMap();
    QTest::newRow("2000 keys") << many;
    QTest::newRow("long values") << longValues;
}

void TestPropertyList::readsListsWeWrite()
{
    QFETCH(QVariantMap, map);
    const QSet<QString> keys(map.keyBegin(), map.keyEnd());
    for (const QByteArray &bytes : {PlistWriter::xml(map), PlistWriter::binary(map)}) {
        const std::optional<TopLevelDictionary> dict = readTopLevelDictionary(bytes);
        QVERIFY2(dict, bytes.left(8).constData());
        QCOMPARE(dict->keys, keys);
        QCOMPARE(dict->strings, stringsOf(map));
    }
}

void TestPropertyList::readsListsOfAnotherWriter_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("keyCount");
    QTest::addColumn<QString>("key");
    QTest::addColumn<std::optional<QString>>("value");

    const std::optional<QString> none;
    const QString name = QStringLiteral("CFBundleName");
    for (const char *file : {"xml-app.plist", "bin-app.plist", "xml-utf16.plist"}) {
        QTest::addRow("%s name", file)
            << file << 17 << name << std::optional(QStringLiteral("Pixel Forge"));
        QTest::addRow("%s integer", file) << file << 17 << "BuildNumber" << none;
        QTest::addRow("%s array", file) << file << 17 << "CFBundleDocumentTypes" << none;
    }
    for (const char *file : {"xml-unicode.plist", "bin-unicode.plist"}) {
        QTest::addRow("%s name", file)
            << file << 6 << name << std::optional(QStringLiteral("Café Über 日本 😀"));
        QTest::addRow("%s empty key", file)
            << file << 6 << QString() << std::optional(QStringLiteral("empty key"));
        QTest::addRow("%s empty value", file) << file << 6 << "Empty" << std::optional(QString());
        QTest::addRow("%s control characters", file)
            << file << 6 << "Note"
            << std::optional(QStringLiteral("line one\nline two\t100% done"));
    }
    QTest::newRow("binary NUL") << "bin-nul-in-string.plist" << 2 << name
                                << std::optional(QStringLiteral("Foo") + QChar(0) + "Bar");
    QTest::newRow("binary cycle") << "bin-cycle.plist" << 3 << name
                                  << std::optional(QStringLiteral("Cyclic"));
    QTest::newRow("binary cycle self") << "bin-cycle.plist" << 3 << "Self" << none;
    QTest::newRow("binary deep") << "bin-deep.plist" << 2 << name
                                 << std::optional(QStringLiteral("Deep"));
    QTest::newRow("xml deep") << "xml-deep.plist" << 2 << name
                              << std::optional(QStringLiteral("Deep"));
    QTest::newRow("binary UTF-16 key")
        << "bin-utf16-key.plist" << 1 << "Nom été" << std::optional(QStringLiteral("Été"));
    QTest::newRow("bare dict") << "xml-bare-dict.plist" << 1 << name
                               << std::optional(QStringLiteral("Bare"));
    QTest::newRow("duplicate keys") << "xml-duplicate-keys.plist" << 1 << name << none;
    QTest::newRow("xml empty dict") << "xml-empty-dict.plist" << 0 << name << none;
    QTest::newRow("binary empty dict") << "bin-empty-dict.plist" << 0 << name << none;
}

void TestPropertyList::readsListsOfAnotherWriter()
{
    QFETCH(QString, file);
    QFETCH(int, keyCount);
    QFETCH(QString, key);
    QFETCH(std::optional<QString>, value);

    const std::optional<TopLevelDictionary> dict = readTopLevelDictionary(corpusFile(file));
    QVERIFY(dict);
    QCOMPARE(dict->keys.size(), keyCount);
    QCOMPARE(dict->string(key), value);
    if (keyCount > 0)
        QVERIFY(dict->contains(key));
}

void TestPropertyList::refusesWhatIsNotADictionaryList_data()
{
    QTest::addColumn<QByteArray>("bytes");

    for (const char *file : {"xml-top-array.plist",
                             "bin-top-array.plist",
                             "xml-truncated.plist",
                             "bin-truncated.plist",
                             "bin-no-trailer.plist",
                             "xml-entity-bomb.plist",
                             "xml-external-entity.plist",
                             "xml-bad-integer.plist",
                             "xml-key-without-value.plist",
                             "xml-child-in-string.plist",
                             "xml-html.plist",
                             "xml-two-values.plist",
                             "bin-nonstring-key.plist",
                             "bin-dict-as-key.plist",
                             "bin-ascii-high-byte.plist",
                             "bin-huge-count.plist",
                             "bin-huge-string.plist",
                             "bin-bad-offset.plist",
                             "bin-bad-ref.plist",
                             "bin-top-out-of-range.plist",
                             "bin-zero-sizes.plist",
                             "bplist-newer-version.plist",
                             "garbage-random.bin",
                             "garbage-bplist-header.bin",
                             "garbage-xml-like.bin",
                             "empty.bin"})
        QTest::newRow(file) << corpusFile(QString::fromLatin1(file));

    QTest::newRow("header only") << QByteArray("bplist00");
    QTest::newRow("plain text") << QByteArray("CFBundleName = Foo;");
    QTest::newRow("xml top string") << xmlList("<string>Foo</string>");
    QTest::newRow("xml empty plist") << xmlList("");
    QTest::newRow("xml key outside dict") << xmlList("<key>a</key>");
    QTest::newRow("xml text in dict")
        << xmlList("<dict>loose<key>a</key><string>b</string></dict>");
    QTest::newRow("xml unknown value") << xmlList("<dict><key>a</key><color>red</color></dict>");
    QTest::newRow("xml key as value") << xmlList("<dict><key>a</key><key>b</key></dict>");
    QTest::newRow("xml value without key") << xmlList("<dict><string>b</string></dict>");
    QTest::newRow("xml nested plist") << xmlList("<dict><key>a</key><plist/></dict>");
    QTest::newRow("xml unknown in array")
        << xmlList("<dict><key>a</key><array><foo/></array></dict>");
    QTest::newRow("xml text in true") << xmlList("<dict><key>a</key><true>yes</true></dict>");
    QTest::newRow("xml bad real") << xmlList("<dict><key>a</key><real>1.2.3</real></dict>");
    QTest::newRow("xml bad date") << xmlList("<dict><key>a</key><date>yesterday</date></dict>");
    QTest::newRow("xml bad data") << xmlList("<dict><key>a</key><data>@@@</data></dict>");
    QTest::newRow("xml NUL reference")
        << xmlList("<dict><key>CFBundleName</key><string>a&#0;b</string></dict>");
    QTest::newRow("xml raw NUL") << xmlList(
        QByteArray("<dict><key>CFBundleName</key><string>a\0b</string></dict>", 55));
    QTest::newRow("xml unclosed") << QByteArray("<plist><dict><key>a</key><string>b</string>");
    QTest::newRow("binary top string") << [] {
        BinaryBuilder builder;
        builder.add(BinaryBuilder::ascii("Foo"));
        return builder.build(0);
    }();
    QTest::newRow("binary integer key")
        << binaryDict({BinaryBuilder::integer(7)}, {BinaryBuilder::ascii("seven")});
    QTest::newRow("binary unknown marker")
        << binaryDict({BinaryBuilder::ascii("k")}, {QByteArray("\x70", 1)});
    QTest::newRow("binary count past end")
        << binaryDict({BinaryBuilder::ascii("k")}, {BinaryBuilder::marker(0x4, 4000) + "ab"});
    QTest::newRow("binary wide count marker")
        << binaryDict({BinaryBuilder::ascii("k")}, {QByteArray("\x4F\x14", 2) + QByteArray(16, 1)});
}

void TestPropertyList::refusesWhatIsNotADictionaryList()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!readTopLevelDictionary(bytes));
}

void TestPropertyList::truncatedOrCorruptedList_neverReadsOrCrashes()
{
    const QByteArray binary = PlistWriter::binary(appInfo());
    QVERIFY(readTopLevelDictionary(binary));
    for (qsizetype length = 0; length < binary.size(); ++length)
        QVERIFY2(!readTopLevelDictionary(binary.left(length)), qPrintable(QString::number(length)));

    const QByteArray xml = PlistWriter::xml(appInfo());
    const qsizetype end = xml.indexOf("</plist>") + 8;
    QVERIFY(readTopLevelDictionary(xml));
    for (qsizetype length = 0; length < end; ++length)
        QVERIFY2(!readTopLevelDictionary(xml.left(length)), qPrintable(QString::number(length)));

    // Every single-byte change of the binary list: whatever comes back must be consistent.
    int read = 0;
    for (qsizetype i = 0; i < binary.size(); ++i) {
        for (const uchar value : {0x00, 0x0F, 0x7F, 0x80, 0xFF}) {
            QByteArray corrupted = binary;
            corrupted[i] = static_cast<char>(value);
            if (const auto dict = readTopLevelDictionary(corrupted)) {
                ++read;
                for (auto it = dict->strings.constBegin(); it != dict->strings.constEnd(); ++it)
                    QVERIFY(dict->contains(it.key()));
            }
        }
    }
    QVERIFY(read > 0); // a changed letter inside a string still reads
}

void TestPropertyList::nulInsideStrings_isKept()
{
    const QByteArray bytes =
        binaryDict({BinaryBuilder::ascii(QByteArray("Na\0me", 5)),
                    BinaryBuilder::utf16(QStringLiteral("Wide"))},
                   {BinaryBuilder::ascii(QByteArray("Foo\0Bar", 7)),
                    BinaryBuilder::utf16(QStringLiteral("a") + QChar(0) + QStringLiteral("é"))});
    const auto dict = readTopLevelDictionary(bytes);
    QVERIFY(dict);
    const QString key = QStringLiteral("Na") + QChar(0) + QStringLiteral("me");
    QCOMPARE(dict->string(key), QStringLiteral("Foo") + QChar(0) + QStringLiteral("Bar"));
    QCOMPARE(dict->string(key)->size(), 7);
    QCOMPARE(dict->string(QStringLiteral("Wide")),
             QStringLiteral("a") + QChar(0) + QStringLiteral("é"));
    QVERIFY(!dict->contains(QStringLiteral("Na")));
}

void TestPropertyList::lastOfDuplicateKeys_wins()
{
    const QByteArray name = BinaryBuilder::ascii("CFBundleName");
    const auto stringThenNumber = readTopLevelDictionary(
        binaryDict({name, name}, {BinaryBuilder::ascii("First"), BinaryBuilder::integer(2)}));
    QVERIFY(stringThenNumber);
    QVERIFY(stringThenNumber->contains(QStringLiteral("CFBundleName")));
    QCOMPARE(stringThenNumber->string(QStringLiteral("CFBundleName")), std::nullopt);

    const auto numberThenString = readTopLevelDictionary(
        binaryDict({name, name}, {BinaryBuilder::integer(2), BinaryBuilder::ascii("Second")}));
    QVERIFY(numberThenString);
    QCOMPARE(numberThenString->string(QStringLiteral("CFBundleName")), QStringLiteral("Second"));

    const auto xml = readTopLevelDictionary(
        xmlList("<dict><key>CFBundleName</key><integer>2</integer>"
                "<key>CFBundleName</key><string>Second</string>"
                "<key>Id</key><string>a</string><key>Id</key><array/></dict>"));
    QVERIFY(xml);
    QCOMPARE(xml->string(QStringLiteral("CFBundleName")), QStringLiteral("Second"));
    QVERIFY(xml->contains(QStringLiteral("Id")));
    QCOMPARE(xml->string(QStringLiteral("Id")), std::nullopt);
}

void TestPropertyList::deepNesting_readsTopLevelWithoutRecursion_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");

    constexpr int depth = 100000;
    const QByteArray before = "<dict><key>CFBundleName</key><string>Deep</string><key>Nest</key>";
    QTest::newRow("xml arrays") << xmlList(before + QByteArray("<array>").repeated(depth) +
                                           QByteArray("</array>").repeated(depth) + "</dict>")
                                << true;
    QTest::newRow("xml dictionaries")
        << xmlList(before + QByteArray("<dict><key>k</key>").repeated(depth) + "<true/>" +
                   QByteArray("</dict>").repeated(depth) + "</dict>")
        << true;
    QTest::newRow("xml unclosed") << xmlList(before + QByteArray("<array>").repeated(depth) +
                                             "</dict>")
                                  << false;
    QTest::newRow("xml without the list around it")
        << QByteArray("<array>").repeated(depth) + QByteArray("</array>").repeated(depth) << false;

    // Binary: object 3 + i is an array holding object 4 + i; the last one holds the top
    // dictionary again, closing a cycle 100,000 long.
    BinaryBuilder builder(4);
    builder.add(builder.dict({1, 2}, {depth + 3, 3}));
    builder.add(BinaryBuilder::ascii("CFBundleName"));
    builder.add(BinaryBuilder::ascii("Nest"));
    for (quint64 i = 0; i < depth; ++i)
        builder.add(builder.array({i + 1 < depth ? 4 + i : 0}));
    builder.add(BinaryBuilder::ascii("Deep"));
    QTest::newRow("binary chain with cycle") << builder.build(0) << true;
}

void TestPropertyList::deepNesting_readsTopLevelWithoutRecursion()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    const auto dict = readTopLevelDictionary(bytes);
    QCOMPARE(dict.has_value(), readable);
    if (readable) {
        QCOMPARE(dict->keys,
                 QSet<QString>({QStringLiteral("CFBundleName"), QStringLiteral("Nest")}));
        QCOMPARE(dict->string(QStringLiteral("CFBundleName")), QStringLiteral("Deep"));
    }
}

void TestPropertyList::sizeLimit_refusesLargerInputAndReadsBelowIt()
{
    const qsizetype big = 50 * 1024 * 1024;
    QVERIFY(!readTopLevelDictionary(xmlList("<dict><key>CFBundleName</key><string>" +
                                            QByteArray(big, 'x') + "</string></dict>")));
    QVERIFY(!readTopLevelDictionary(PlistWriter::binary(
        QVariantMap{{QStringLiteral("CFBundleName"), QString(big, QLatin1Char('x'))}})));

    const qsizetype nearLimit = PropertyList::kMaxInputBytes - 4096;
    const QString longName(nearLimit, QLatin1Char('y'));
    const QVariantMap map{{QStringLiteral("CFBundleName"), longName}};
    for (const QByteArray &bytes : {PlistWriter::xml(map), PlistWriter::binary(map)}) {
        QVERIFY(bytes.size() <= PropertyList::kMaxInputBytes);
        const auto dict = readTopLevelDictionary(bytes);
        QVERIFY(dict);
        QCOMPARE(dict->string(QStringLiteral("CFBundleName"))->size(), nearLimit);
    }
}

void TestPropertyList::sharedAndOverlappingObjects_costBoundedWork()
{
    // A writer shares equal strings: 20,000 keys all holding one 200 kB value read fine, the
    // value decoded once.
    {
        QVariantMap map;
        const QString shared(200000, QLatin1Char('s'));
        for (int i = 0; i < 20000; ++i)
            map.insert(QStringLiteral("K%1").arg(i), shared);
        const auto dict = readTopLevelDictionary(PlistWriter::binary(map));
        QVERIFY(dict);
        QCOMPARE(dict->strings.size(), 20000);
        QCOMPARE(dict->string(QStringLiteral("K19999")), shared);
    }
    // 200,000 entries all keyed by one 50 kB string: the work grows with entries times key
    // length (10 GB of hashing here, terabytes near the size limit), so the list is refused.
    {
        BinaryBuilder builder(4);
        constexpr int count = 200000;
        builder.add(builder.dict(QList<quint64>(count, 1), QList<quint64>(count, 1)));
        builder.add(BinaryBuilder::ascii(QByteArray(50000, 'k')));
        QVERIFY(!readTopLevelDictionary(builder.build(0)));
    }
    // Objects that overlap: a run of 100,000 string headers, six bytes apart, each claiming
    // the next 1 MB as its text (the headers themselves are ASCII). Each one is a different
    // key, so decoding them all would copy 100 GB; the list is refused instead.
    {
        constexpr quint64 count = 100000;
        constexpr quint64 textLength = 1 << 20;
        QByteArray bytes("bplist00");
        auto put = [&bytes](quint64 value, int width) {
            for (int i = width - 1; i >= 0; --i)
                bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        };
        const quint64 dictOffset = bytes.size();
        bytes += BinaryBuilder::marker(0xD, count);
        for (quint64 i = 0; i < count; ++i)
            put(i + 1, 4); // keys: objects 1 .. count
        for (quint64 i = 0; i < count; ++i)
            put(1, 4); // values: object 1
        const quint64 runOffset = bytes.size();
        const QByteArray header("\x5F\x12\x00\x10\x00\x00", 6); // ASCII string, 4-byte length
        QCOMPARE(header.mid(2).toHex(), QByteArray("00100000"));
        bytes += header.repeated(count) + QByteArray(textLength, 'a');
        const quint64 tableOffset = bytes.size();
        put(dictOffset, 4);
        for (quint64 i = 0; i < count; ++i)
            put(runOffset + 6 * i, 4);
        bytes += QByteArray(6, '\0');
        bytes += char(4);
        bytes += char(4);
        put(count + 1, 8);
        put(0, 8);
        put(tableOffset, 8);
        QVERIFY(!readTopLevelDictionary(bytes));

        // Control: the same bytes with the dictionary cut down to its first entry (key object
        // 1, value object 2, two neighbouring headers) are an ordinary list.
        QByteArray single = bytes;
        QCOMPARE(single.mid(dictOffset, 2).toHex(), QByteArray("df12"));
        single[dictOffset + 2] = single[dictOffset + 3] = single[dictOffset + 4] = 0;
        single[dictOffset + 5] = 1;
        const auto dict = readTopLevelDictionary(single);
        QVERIFY(dict);
        QCOMPARE(dict->strings.constBegin().key().size(), qsizetype(textLength));
        QCOMPARE(dict->strings.constBegin().value().size(), qsizetype(textLength));
        QCOMPARE(dict->keys.size(), 1);
    }
}

void TestPropertyList::hostileXmlShapesAtTheSizeLimit_finish_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");

    const qsizetype n = PropertyList::kMaxInputBytes / 16;
    QByteArray attributes;
    for (qsizetype i = 0; attributes.size() < n * 8; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"\"";
    QTest::newRow("many attributes") << "<plist" + attributes + "><dict/></plist>" << false;
    QTest::newRow("a few attributes")
        << QByteArray("<plist version=\"1.0\" a='>' b=\"=\"><dict/></plist>") << true;
    QByteArray namespaces;
    for (qsizetype i = 0; namespaces.size() < n * 6; ++i)
        namespaces += "<array xmlns:p" + QByteArray::number(i) + "=\"u\">";
    QTest::newRow("nested namespace declarations")
        << xmlList("<dict><key>a</key>" + namespaces + "</dict>") << false;
    QTest::newRow("attribute defaults in the document type")
        << "<!DOCTYPE plist [" + QByteArray("<!ATTLIST array a CDATA \"x\">").repeated(n / 4) +
               "]><plist><dict><key>a</key>" + QByteArray("<array/>").repeated(n) +
               "</dict></plist>"
        << false;
    QTest::newRow("many comments")
        << xmlList(QByteArray("<!-- c -->").repeated(n) + "<dict/>") << true;
    QTest::newRow("many keys") << xmlList("<dict>" +
                                          QByteArray("<key>k</key><true/>").repeated(n / 2) +
                                          "</dict>")
                               << true;
    QTest::newRow("long element name")
        << xmlList("<dict><key>a</key><" + QByteArray(n * 8, 'q') + "/></dict>") << false;
    QTest::newRow("whitespace") << xmlList(QByteArray(n * 15, ' ') + "<dict/>") << true;
    QTest::newRow("many character references")
        << xmlList("<dict><key>a</key><string>" + QByteArray("&#233;").repeated(n * 2) +
                   "</string></dict>")
        << true;
}

void TestPropertyList::hostileXmlShapesAtTheSizeLimit_finish()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QVERIFY(bytes.size() <= PropertyList::kMaxInputBytes);
    QCOMPARE(readTopLevelDictionary(bytes).has_value(), readable);
}

QTEST_GUILESS_MAIN(TestPropertyList)
#include "tst_propertylist.moc"
