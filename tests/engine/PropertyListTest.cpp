#include "engine/formats/PropertyList.h"

#include "support/PlistFixtures.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <sys/stat.h>

using namespace harborlite;
using Kind = PropertyList::Kind;

namespace {

// 2024-01-02T03:04:05Z as seconds since 2001-01-01, where list dates count from.
constexpr int32_t sampleDateSeconds = 725857445;

const QDateTime sampleDate = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC);

plist_t sampleTree()
{
    plist_t root = plist_new_dict();
    plist_dict_set_item(root, "Text", plist_new_string("Grüße ☃"));
    plist_dict_set_item(root, "Big", plist_new_uint(uint64_t(1) << 40));
    plist_dict_set_item(root, "Negative", plist_new_uint(uint64_t(-42)));
    plist_dict_set_item(root, "Ratio", plist_new_real(-0.25));
    plist_dict_set_item(root, "Yes", plist_new_bool(1));
    plist_dict_set_item(root, "No", plist_new_bool(0));
    plist_dict_set_item(root, "When", plist_new_date(sampleDateSeconds, 0));
    plist_dict_set_item(root, "Blob",
                        plist_new_data("\x00\x01\xff"
                                       "abc",
                                       6));
    plist_t words = plist_new_array();
    plist_array_append_item(words, plist_new_string("/bin/sh"));
    plist_array_append_item(words, plist_new_string("-c"));
    plist_dict_set_item(root, "Words", words);
    plist_t mixed = plist_new_array();
    plist_array_append_item(mixed, plist_new_string("a"));
    plist_array_append_item(mixed, plist_new_uint(1));
    plist_dict_set_item(root, "Mixed", mixed);
    plist_t inner = plist_new_dict();
    plist_t innermost = plist_new_dict();
    plist_dict_set_item(innermost, "Leaf", plist_new_string("deep"));
    plist_dict_set_item(inner, "Level", innermost);
    plist_dict_set_item(root, "Nested", inner);
    return root;
}

// A launch agent as programs install them.
plist_t launchAgentTree()
{
    plist_t root = plist_new_dict();
    plist_dict_set_item(root, "Label", plist_new_string("com.example.updater"));
    plist_t arguments = plist_new_array();
    plist_array_append_item(arguments, plist_new_string("/Library/Example/Updater"));
    plist_array_append_item(arguments, plist_new_string("--background"));
    plist_dict_set_item(root, "ProgramArguments", arguments);
    plist_dict_set_item(root, "RunAtLoad", plist_new_bool(1));
    plist_t keepAlive = plist_new_dict();
    plist_dict_set_item(keepAlive, "SuccessfulExit", plist_new_bool(0));
    plist_dict_set_item(root, "KeepAlive", keepAlive);
    plist_dict_set_item(root, "StartInterval", plist_new_uint(3600));
    plist_dict_set_item(root, "LastRun", plist_new_date(sampleDateSeconds, 0));
    return root;
}

void appendBigEndian(QByteArray& out, quint64 value, int width)
{
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
        out.append(char((value >> shift) & 0xFF));
    }
}

// A binary list assembled from raw objects; references are four bytes wide.
QByteArray assembleBinary(const QList<QByteArray>& objects, quint64 top = 0)
{
    QByteArray out("bplist00");
    QList<quint64> offsets;
    for (const QByteArray& object : objects) {
        offsets.append(quint64(out.size()));
        out += object;
    }
    const auto tableAt = quint64(out.size());
    for (quint64 offset : offsets) {
        appendBigEndian(out, offset, 4);
    }
    out.append(QByteArray(6, '\0'));
    out.append(char(4)); // offset size
    out.append(char(4)); // reference size
    appendBigEndian(out, quint64(objects.size()), 8);
    appendBigEndian(out, top, 8);
    appendBigEndian(out, tableAt, 8);
    return out;
}

QByteArray containerObject(int type, const QList<quint64>& refs, qsizetype count)
{
    QByteArray out;
    if (count < 15) {
        out.append(char((type << 4) | int(count)));
    } else {
        out.append(char((type << 4) | 0x0F));
        out.append(char(0x12));
        appendBigEndian(out, quint64(count), 4);
    }
    for (quint64 ref : refs) {
        appendBigEndian(out, ref, 4);
    }
    return out;
}

QByteArray arrayObject(const QList<quint64>& refs)
{
    return containerObject(0xA, refs, refs.size());
}

// Keys first, then values, as the format stores them.
QByteArray dictionaryObject(const QList<quint64>& keys, const QList<quint64>& values)
{
    return containerObject(0xD, keys + values, keys.size());
}

QByteArray asciiObject(const QByteArray& text)
{
    return char(0x50 | int(text.size())) + text;
}

const QByteArray trueObject("\x09", 1);

// `levels` arrays, each holding the next, around a true value: the value sits
// at depth levels + 1.
QByteArray nestedBinary(int levels)
{
    QList<QByteArray> objects;
    for (int i = 0; i < levels; ++i) {
        objects.append(arrayObject({quint64(i + 1)}));
    }
    objects.append(trueObject);
    return assembleBinary(objects);
}

QByteArray nestedXml(int levels)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">" + QByteArray("<array>").repeated(levels)
        + "<true/>" + QByteArray("</array>").repeated(levels) + "</plist>";
}

// Reads every value of the tree through every accessor.
int visitAll(const PropertyList& list)
{
    int visited = 1;
    (void)list.toString();
    (void)list.toInteger();
    (void)list.toReal();
    (void)list.toBool();
    (void)list.toDate();
    (void)list.toData();
    (void)list.toStringList();
    if (const auto items = list.toArray()) {
        for (const PropertyList& item : *items) {
            visited += visitAll(item);
        }
    }
    for (const QString& key : list.keys()) {
        visited += visitAll(*list.value(key));
    }
    return visited;
}

void expectSample(const PropertyList& list)
{
    ASSERT_EQ(list.kind(), Kind::Dictionary);
    EXPECT_EQ(list.string(QStringLiteral("Text")), QStringLiteral("Grüße ☃"));
    EXPECT_EQ(list.integer(QStringLiteral("Big")), qint64(1) << 40);
    EXPECT_EQ(list.integer(QStringLiteral("Negative")), -42);
    EXPECT_EQ(list.real(QStringLiteral("Ratio")), -0.25);
    EXPECT_EQ(list.boolean(QStringLiteral("Yes")), true);
    EXPECT_EQ(list.boolean(QStringLiteral("No")), false);
    EXPECT_EQ(list.date(QStringLiteral("When")), sampleDate);
    EXPECT_EQ(list.data(QStringLiteral("Blob")),
              QByteArray("\x00\x01\xff"
                         "abc",
                         6));
    EXPECT_EQ(list.stringList(QStringLiteral("Words")), QStringList({QStringLiteral("/bin/sh"), QStringLiteral("-c")}));
    const auto mixed = list.array(QStringLiteral("Mixed"));
    ASSERT_TRUE(mixed.has_value());
    ASSERT_EQ(mixed->size(), 2);
    EXPECT_EQ(mixed->at(0).toString(), QStringLiteral("a"));
    EXPECT_EQ(mixed->at(1).toInteger(), 1);
    const auto leaf = list.valueAt({QStringLiteral("Nested"), QStringLiteral("Level"), QStringLiteral("Leaf")});
    ASSERT_TRUE(leaf.has_value());
    EXPECT_EQ(leaf->toString(), QStringLiteral("deep"));
    EXPECT_EQ(list.dictionary(QStringLiteral("Nested"))->keys(), QStringList{QStringLiteral("Level")});
}

} // namespace

TEST(PropertyList, ReadsEveryTypeFromXmlAndBinary)
{
    const QByteArray xml = test::xmlList(sampleTree());
    const QByteArray binary = test::binaryList(sampleTree());
    ASSERT_TRUE(xml.startsWith("<?xml"));
    ASSERT_TRUE(binary.startsWith("bplist00"));
    for (const QByteArray& bytes : {xml, binary}) {
        SCOPED_TRACE(bytes.left(8).toStdString());
        const std::optional<PropertyList> list = PropertyList::fromBytes(bytes);
        ASSERT_TRUE(list.has_value());
        expectSample(*list);
    }
}

TEST(PropertyList, ReadsHandWrittenXml)
{
    const QByteArray text = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                            "<plist version=\"1.0\">\n<dict>\n"
                            "  <!-- written by hand -->\n"
                            "  <key>CFBundleName</key>\n  <string>Tom &amp; Jerry</string>\n"
                            "  <key>Scale</key>\n  <real>1.5</real>\n"
                            "  <key>Count</key>\n  <integer>-7</integer>\n"
                            "  <key>Since</key>\n  <date>2024-01-02T03:04:05Z</date>\n"
                            "  <key>Empty</key>\n  <dict/>\n"
                            "</dict>\n</plist>\n";
    const std::optional<PropertyList> list = PropertyList::fromBytes(text);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->string(QStringLiteral("CFBundleName")), QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(list->real(QStringLiteral("Scale")), 1.5);
    EXPECT_EQ(list->integer(QStringLiteral("Count")), -7);
    EXPECT_EQ(list->date(QStringLiteral("Since")), sampleDate);
    EXPECT_TRUE(list->dictionary(QStringLiteral("Empty"))->keys().isEmpty());
}

TEST(PropertyList, WrongTypesAndMissingKeysGiveNoValue)
{
    const PropertyList list = *PropertyList::fromBytes(test::binaryList(sampleTree()));
    // Every key read as every type other than its own.
    EXPECT_FALSE(list.integer(QStringLiteral("Text")));
    EXPECT_FALSE(list.string(QStringLiteral("Big")));
    EXPECT_FALSE(list.real(QStringLiteral("Big")));
    EXPECT_FALSE(list.boolean(QStringLiteral("Big")));
    EXPECT_FALSE(list.integer(QStringLiteral("Ratio")));
    EXPECT_FALSE(list.integer(QStringLiteral("Yes")));
    EXPECT_FALSE(list.string(QStringLiteral("Yes")));
    EXPECT_FALSE(list.real(QStringLiteral("When")));
    EXPECT_FALSE(list.string(QStringLiteral("Blob")));
    EXPECT_FALSE(list.data(QStringLiteral("Text")));
    EXPECT_FALSE(list.date(QStringLiteral("Text")));
    EXPECT_FALSE(list.string(QStringLiteral("Words")));
    EXPECT_FALSE(list.dictionary(QStringLiteral("Words")));
    EXPECT_FALSE(list.array(QStringLiteral("Nested")));
    EXPECT_FALSE(list.stringList(QStringLiteral("Mixed")));
    EXPECT_FALSE(list.stringList(QStringLiteral("Text")));
    // Missing keys, and look-ups on values that are not dictionaries.
    EXPECT_FALSE(list.string(QStringLiteral("Absent")));
    EXPECT_FALSE(list.string(QStringLiteral("text")));
    EXPECT_FALSE(list.value(QStringLiteral("Text"))->value(QStringLiteral("Text")));
    EXPECT_TRUE(list.value(QStringLiteral("Words"))->keys().isEmpty());
    EXPECT_FALSE(list.valueAt({QStringLiteral("Nested"), QStringLiteral("Missing"), QStringLiteral("Leaf")}));
    EXPECT_FALSE(list.valueAt({QStringLiteral("Text"), QStringLiteral("Level")}));
    EXPECT_EQ(list.valueAt({})->kind(), Kind::Dictionary);
    EXPECT_FALSE(list.toString());
    EXPECT_FALSE(list.toArray());
}

TEST(PropertyList, BytesThatAreNoListGiveNothing)
{
    const QList<QByteArray> cases = {
        QByteArray(),
        QByteArray("hello"),
        QByteArray("{\"Label\": \"x\"}"),
        QByteArray("bplist00"),
        QByteArray("bplist00") + QByteArray(64, '\xff'),
        QByteArray("bplist15") + test::binaryList(launchAgentTree()).mid(8),
        QByteArray("<plist><dict><key>a</key></dict></plist>"),
        QByteArray("<plist><dict><key>a</key><string>x</dict></plist>"),
        QByteArray("<plist><string>x</string></plist><plist>"),
        QByteArray("<plist><unknown/></plist>"),
        QByteArray("<plist><dict><key>a</key><true/><key>b</key></dict></plist>"),
        QByteArray("<plist><array><key>a</key></array></plist>"),
        QByteArray("<plist><key>a</key></plist>"),
    };
    for (const QByteArray& bytes : cases) {
        EXPECT_FALSE(PropertyList::fromBytes(bytes)) << bytes.left(40).toStdString();
    }
}

TEST(PropertyList, EveryTruncationIsRejected)
{
    const QByteArray binary = test::binaryList(launchAgentTree());
    for (qsizetype length = 0; length < binary.size(); ++length) {
        EXPECT_FALSE(PropertyList::fromBytes(binary.left(length))) << "binary length " << length;
    }
    const QByteArray xml = test::xmlList(launchAgentTree());
    const qsizetype end = xml.lastIndexOf("</plist>") + qsizetype(sizeof("</plist>") - 1);
    for (qsizetype length = 0; length < end; ++length) {
        EXPECT_FALSE(PropertyList::fromBytes(xml.left(length))) << "XML length " << length;
    }
    EXPECT_TRUE(PropertyList::fromBytes(xml.left(end)));
}

TEST(PropertyList, RandomByteFlipsNeverCrash)
{
    std::mt19937 random(20240611);
    for (const QByteArray& original : {test::binaryList(launchAgentTree()), test::xmlList(launchAgentTree())}) {
        int accepted = 0;
        int rejected = 0;
        std::uniform_int_distribution<qsizetype> position(0, original.size() - 1);
        std::uniform_int_distribution<int> byte(0, 255);
        std::uniform_int_distribution<int> flips(1, 3);
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes = original;
            for (int i = flips(random); i > 0; --i) {
                bytes[position(random)] = char(byte(random));
            }
            if (const std::optional<PropertyList> list = PropertyList::fromBytes(bytes)) {
                EXPECT_GE(visitAll(*list), 1);
                ++accepted;
            } else {
                ++rejected;
            }
        }
        EXPECT_GT(accepted, 0);
        EXPECT_GT(rejected, 0);
    }
}

TEST(PropertyList, NestingIsCappedInBothFormats)
{
    const int limit = PropertyList::maxDepth;
    const std::optional<PropertyList> deepest = PropertyList::fromBytes(nestedBinary(limit - 1));
    ASSERT_TRUE(deepest.has_value());
    EXPECT_EQ(visitAll(*deepest), limit);
    EXPECT_TRUE(PropertyList::fromBytes(nestedXml(limit - 1)));

    EXPECT_FALSE(PropertyList::fromBytes(nestedBinary(limit)));
    EXPECT_FALSE(PropertyList::fromBytes(nestedXml(limit)));
    // Deep enough to exhaust the stack of a recursive reader or destructor.
    EXPECT_FALSE(PropertyList::fromBytes(nestedBinary(200000)));
    EXPECT_FALSE(PropertyList::fromBytes(nestedXml(200000)));
}

TEST(PropertyList, CyclesAndSharedObjectsInBinaryLists)
{
    // An array holding itself, and two arrays holding each other.
    EXPECT_FALSE(PropertyList::fromBytes(assembleBinary({arrayObject({0})})));
    EXPECT_FALSE(PropertyList::fromBytes(assembleBinary({arrayObject({1}), arrayObject({0})})));
    // A reference past the last object, and a dictionary whose key is no string.
    EXPECT_FALSE(PropertyList::fromBytes(assembleBinary({arrayObject({7})})));
    EXPECT_FALSE(PropertyList::fromBytes(assembleBinary({dictionaryObject({1}, {1}), arrayObject({})})));

    // One string referenced twice is read twice.
    const auto shared = PropertyList::fromBytes(assembleBinary({arrayObject({1, 1}), asciiObject("x")}));
    ASSERT_TRUE(shared.has_value());
    EXPECT_EQ(shared->toStringList(), QStringList({QStringLiteral("x"), QStringLiteral("x")}));

    // Forty levels that each reference the next one twice expand to 2^40 values.
    QList<QByteArray> doubling;
    for (int i = 0; i < 40; ++i) {
        doubling.append(arrayObject({quint64(i + 1), quint64(i + 1)}));
    }
    doubling.append(trueObject);
    EXPECT_FALSE(PropertyList::fromBytes(assembleBinary(doubling)));

    // A key given twice keeps the later value.
    const auto twice = PropertyList::fromBytes(assembleBinary(
        {dictionaryObject({1, 1}, {2, 3}), asciiObject("Key"), asciiObject("first"), asciiObject("second")}));
    ASSERT_TRUE(twice.has_value());
    EXPECT_EQ(twice->keys(), QStringList{QStringLiteral("Key")});
    EXPECT_EQ(twice->string(QStringLiteral("Key")), QStringLiteral("second"));
}

TEST(PropertyList, FilesAreCappedAndMustBeRegular)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray list = "<plist><string>x</string></plist>";
    const QByteArray atCap = list + QByteArray(PropertyList::maxFileBytes - list.size(), ' ');
    const QString fits = dir.filePath(QStringLiteral("fits.plist"));
    const QString tooBig = dir.filePath(QStringLiteral("too-big.plist"));
    ASSERT_TRUE(test::writeFile(fits, atCap));
    ASSERT_TRUE(test::writeFile(tooBig, atCap + ' '));
    EXPECT_EQ(PropertyList::fromFile(fits)->toString(), QStringLiteral("x"));
    EXPECT_FALSE(PropertyList::fromFile(tooBig));
    EXPECT_FALSE(PropertyList::fromBytes(atCap + ' '));

    const QString link = dir.filePath(QStringLiteral("link.plist"));
    ASSERT_TRUE(QFile::link(fits, link));
    EXPECT_TRUE(PropertyList::fromFile(link));

    // A named pipe must not block the reader waiting for a writer.
    const QString pipe = dir.filePath(QStringLiteral("pipe.plist"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(PropertyList::fromFile(pipe));
    EXPECT_FALSE(PropertyList::fromFile(dir.path()));
    EXPECT_FALSE(PropertyList::fromFile(dir.filePath(QStringLiteral("missing.plist"))));
    EXPECT_FALSE(PropertyList::fromFile(QString()));
}

TEST(PropertyList, RealsIgnoreTheProcessNumericLocale)
{
    // A locale whose decimal separator is a comma, built in the temporary folder.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(test::writeFile(dir.filePath(QStringLiteral("comma.def")),
                                "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \"\"\ngrouping -1\n"
                                "END LC_NUMERIC\n"));
    QProcess localedef;
    localedef.start(QStringLiteral("localedef"),
                    {QStringLiteral("-c"), QStringLiteral("-i"), dir.filePath(QStringLiteral("comma.def")),
                     QStringLiteral("-f"), QStringLiteral("ANSI_X3.4-1968"), dir.filePath(QStringLiteral("comma"))});
    localedef.waitForFinished();
    const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
    ::setenv("LOCPATH", QFile::encodeName(dir.path()).constData(), 1);
    const bool switched = std::setlocale(LC_NUMERIC, "comma") != nullptr;
    const auto list = PropertyList::fromBytes("<plist><real>1.5</real></plist>");
    std::setlocale(LC_NUMERIC, previous.constData());
    ::unsetenv("LOCPATH");
    if (!switched) {
        GTEST_SKIP() << "localedef could not build a comma locale";
    }
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->toReal(), 1.5);
}

namespace {

// A binary list whose only object is a date, written by hand: libplist cannot
// write dates outside its 32-bit range.
QByteArray binaryDate(double secondsFromReference)
{
    QByteArray bytes("bplist00");
    bytes.append(char(0x33));
    quint64 bits = 0;
    std::memcpy(&bits, &secondsFromReference, sizeof bits);
    for (int b = 7; b >= 0; --b) {
        bytes.append(char(bits >> (8 * b)));
    }
    bytes.append(char(8)); // offset table: the object starts after the magic
    QByteArray trailer(32, '\0');
    trailer[6] = 1; // offset size
    trailer[7] = 1; // reference size
    trailer[15] = 1; // one object
    trailer[31] = char(17);
    return bytes + trailer;
}

QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int msec = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec), Qt::UTC);
}

} // namespace

TEST(PropertyList, DatesKeepTheirFullRangeAndPrecision)
{
    struct Row {
        double seconds;
        QDateTime date;
    };
    const Row rows[] = {
        {-63113904000.0, utc(1, 1, 1)},
        {63113904000.0, utc(4001, 1, 1)},
        {-63114076800.0, QDateTime::fromMSecsSinceEpoch(-62135769600000, Qt::UTC)}, // the usual distant past
        {-3000000000.0, utc(1905, 12, 8, 18, 40)},
        {3000000000.0, utc(2096, 1, 25, 5, 20)},
        {-0.25, utc(2000, 12, 31, 23, 59, 59, 750)},
        {-31536000.5, utc(2000, 1, 1, 23, 59, 59, 500)},
        {0.0, utc(2001, 1, 1)},
    };
    for (const Row& row : rows) {
        const std::optional<PropertyList> binary = PropertyList::fromBytes(binaryDate(row.seconds));
        ASSERT_TRUE(binary.has_value()) << row.seconds;
        EXPECT_EQ(binary->toDate(), row.date) << row.seconds;
    }
    for (const char* text : {"0001-01-01T00:00:00Z", "4001-01-01T00:00:00Z", "1905-12-08T05:20:00Z"}) {
        const auto xml = PropertyList::fromBytes(QByteArray("<plist><date>") + text + "</date></plist>");
        ASSERT_TRUE(xml.has_value()) << text;
        EXPECT_EQ(xml->toDate(), QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate)) << text;
    }
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300}) {
        EXPECT_FALSE(PropertyList::fromBytes(binaryDate(bad))) << bad;
    }
}

TEST(PropertyList, MalformedXmlValuesMakeTheListUnreadable)
{
    const QByteArray bad[] = {
        "<integer>12abc</integer>",
        "<integer></integer>",
        "<integer>1.5</integer>",
        "<integer>" + QByteArray(5000, '7') + "</integer>",
        "<integer>18446744073709551616</integer>",
        "<integer>-9223372036854775809</integer>",
        "<real>1,5</real>",
        "<real>fast</real>",
        "<date>not a date</date>",
        "<date>2024-02-30T00:00:00Z</date>",
        "<date>2024-01-02 03:04:05</date>",
        "<data>!!!</data>",
        "<true>yes</true>",
        "<string>a<b/></string>",
    };
    for (const QByteArray& value : bad) {
        EXPECT_FALSE(PropertyList::fromBytes("<plist>" + value + "</plist>")) << value.left(60).toStdString();
    }
    struct Good {
        QByteArray value;
        qint64 integer;
    };
    const Good good[] = {
        {"<integer> 42 </integer>", 42},
        {"<integer>+7</integer>", 7},
        {"<integer>-9223372036854775808</integer>", std::numeric_limits<qint64>::min()},
        {"<integer>18446744073709551615</integer>", -1},
    };
    for (const Good& row : good) {
        const auto list = PropertyList::fromBytes("<plist>" + row.value + "</plist>");
        ASSERT_TRUE(list.has_value()) << row.value.toStdString();
        EXPECT_EQ(list->toInteger(), row.integer) << row.value.toStdString();
    }
    const auto reals = PropertyList::fromBytes("<plist><array><real>-0.5e3</real><real>nan</real>"
                                               "<real>+infinity</real><data> aGk= \n</data></array></plist>");
    ASSERT_TRUE(reals.has_value());
    const QList<PropertyList> items = *reals->toArray();
    EXPECT_EQ(items[0].toReal(), -500.0);
    EXPECT_TRUE(std::isnan(*items[1].toReal()));
    EXPECT_EQ(items[2].toReal(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(items[3].toData(), QByteArray("hi"));
}
