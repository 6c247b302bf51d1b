#include "engine/formats/BundleInfo.h"

#include "support/PlistFixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

BundleInfo info(std::optional<QString> identifier, std::optional<QString> name = std::nullopt,
                std::optional<QString> displayName = std::nullopt, std::optional<QString> shortVersion = std::nullopt,
                std::optional<QString> version = std::nullopt, std::optional<QString> executable = std::nullopt)
{
    return BundleInfo{std::move(identifier),   std::move(name),    std::move(displayName),
                      std::move(shortVersion), std::move(version), std::move(executable)};
}

} // namespace

TEST(BundleInfo, ReadsTheDeclaredStringsFromXmlAndBinaryLists)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<QPair<QString, QString>> entries = {
        {QStringLiteral("CFBundleIdentifier"), QStringLiteral("com.example.Editor")},
        {QStringLiteral("CFBundleName"), QStringLiteral("Editor")},
        {QStringLiteral("CFBundleDisplayName"), QString()},
        {QStringLiteral("CFBundleShortVersionString"), QStringLiteral("2.1")},
        {QStringLiteral("CFBundleVersion"), QStringLiteral("1234")},
        {QStringLiteral("CFBundleExecutable"), QStringLiteral("editor")},
    };
    const BundleInfo expected = info(QStringLiteral("com.example.Editor"), QStringLiteral("Editor"), QString(),
                                     QStringLiteral("2.1"), QStringLiteral("1234"), QStringLiteral("editor"));
    for (const bool binary : {false, true}) {
        const QString bundle = dir.filePath(binary ? QStringLiteral("Binary.app") : QStringLiteral("Xml.app"));
        ASSERT_TRUE(test::writeBundle(bundle, entries, binary));
        EXPECT_EQ(BundleInfo::read(bundle), expected) << binary;
    }
}

TEST(BundleInfo, FallsBackAndLeavesFieldsAbsent)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    // A flat bundle keeps its list at the top.
    plist_t flat = plist_new_dict();
    plist_dict_set_item(flat, "CFBundleIdentifier", plist_new_string("com.example.flat"));
    ASSERT_TRUE(test::writeFile(dir.filePath(QStringLiteral("Flat.app/Info.plist")), test::xmlList(flat)));
    EXPECT_EQ(BundleInfo::read(dir.filePath(QStringLiteral("Flat.app"))), info(QStringLiteral("com.example.flat")));

    // Values of another type are absent, not converted.
    plist_t typed = plist_new_dict();
    plist_dict_set_item(typed, "CFBundleIdentifier", plist_new_uint(7));
    plist_dict_set_item(typed, "CFBundleVersion", plist_new_uint(1234));
    ASSERT_TRUE(
        test::writeFile(dir.filePath(QStringLiteral("Typed.app/Contents/Info.plist")), test::binaryList(typed)));
    EXPECT_EQ(BundleInfo::read(dir.filePath(QStringLiteral("Typed.app"))), info(std::nullopt));

    // A list that is not a dictionary, a corrupt list and no list: an empty record.
    plist_t array = plist_new_array();
    ASSERT_TRUE(test::writeFile(dir.filePath(QStringLiteral("Array.app/Contents/Info.plist")), test::xmlList(array)));
    ASSERT_TRUE(test::writeFile(dir.filePath(QStringLiteral("Corrupt.app/Contents/Info.plist")), "<plist><dict>"));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Empty.app/Contents")));
    for (const char* name : {"Array.app", "Corrupt.app", "Empty.app"}) {
        EXPECT_EQ(BundleInfo::read(dir.filePath(QLatin1String(name))), info(std::nullopt)) << name;
    }

    // Only a folder opens as a bundle.
    ASSERT_TRUE(test::writeFile(dir.filePath(QStringLiteral("File.app")), "not a folder"));
    EXPECT_FALSE(BundleInfo::read(dir.filePath(QStringLiteral("File.app"))));
    EXPECT_FALSE(BundleInfo::read(dir.filePath(QStringLiteral("Missing.app"))));
}
