#include "engine/apps/CodeSignatureInspector.h"
#include "platform/CodeSigning.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using platform::StaticCodeInfo;

namespace {

CodeSignature inspectWith(std::optional<StaticCodeInfo> code)
{
    platform::Seam<platform::CodeSigningSource>::Override source(platform::codeSigning(),
                                                                 [code](const QString&) { return code; });
    return CodeSignatureInspector::inspect(QStringLiteral("/Applications/Foo.app"));
}

StaticCodeInfo signedCode(std::optional<QString> team, std::optional<QString> identifier,
                          std::optional<QString> commonName, bool valid = true)
{
    return {valid, true, std::move(team), std::move(identifier), std::move(commonName)};
}

} // namespace

TEST(CodeSignatureInspector, InspectionAndPublisherText)
{
    struct Case {
        const char* what;
        std::optional<StaticCodeInfo> code;
        CodeSignature expected;
        const char* publisher;
    };
    const QString apple = QStringLiteral("Software Signing");
    const Case cases[] = {
        {"not code", std::nullopt, {}, "Not signed"},
        {"unsigned", StaticCodeInfo{}, {}, "Not signed"},
        {"valid, no information",
         StaticCodeInfo{true, false, QStringLiteral("T"), {}, QStringLiteral("X")},
         {std::nullopt, std::nullopt, true, false},
         "Signed, no publisher named"},
        {"ad hoc",
         signedCode({}, QStringLiteral("tool"), {}),
         {std::nullopt, std::nullopt, true, false},
         "Signed, no publisher named"},
        {"ad hoc system identifier",
         signedCode({}, QStringLiteral("com.apple.tool"), {}),
         {std::nullopt, std::nullopt, true, true},
         "Apple"},
        {"system program, plain common name",
         signedCode({}, QStringLiteral("com.apple.x"), apple),
         {apple, std::nullopt, true, true},
         "Apple"},
        {"Apple in the name without team",
         signedCode({}, QStringLiteral("x"), QStringLiteral("Apple Mac OS")),
         {QStringLiteral("Apple Mac OS"), std::nullopt, true, true},
         "Apple"},
        {"team wins over an Apple name",
         signedCode(QStringLiteral("TEAM1"), QStringLiteral("com.apple.x"), QStringLiteral("Apple Dev: Apple (TEAM1)")),
         {QStringLiteral("Apple Dev: Apple (TEAM1)"), QStringLiteral("TEAM1"), true, false},
         "Apple"},
        {"developer id",
         signedCode(QStringLiteral("TEAM123456"), QStringLiteral("com.example"),
                    QStringLiteral("Developer ID Application: Example Corp (TEAM123456)")),
         {QStringLiteral("Developer ID Application: Example Corp (TEAM123456)"), QStringLiteral("TEAM123456"), true,
          false},
         "Example Corp"},
        {"no colon keeps the whole name",
         signedCode(QStringLiteral("T"), {}, QStringLiteral("Example Corp (TEAM1)")),
         {QStringLiteral("Example Corp (TEAM1)"), QStringLiteral("T"), true, false},
         "Example Corp (TEAM1)"},
        {"colon without parenthesis",
         signedCode(QStringLiteral("T"), {}, QStringLiteral("Label: Name")),
         {QStringLiteral("Label: Name"), QStringLiteral("T"), true, false},
         "Name"},
        {"team only",
         signedCode(QStringLiteral("T9"), {}, {}, false),
         {std::nullopt, QStringLiteral("T9"), false, false},
         "Team T9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CodeSignature signature = inspectWith(c.code);
        EXPECT_EQ(signature, c.expected);
        EXPECT_EQ(signature.publisher(), QString::fromUtf8(c.publisher));
    }
}

TEST(CodeSignatureInspector, LinuxReportsEverythingUnsigned)
{
    EXPECT_EQ(CodeSignatureInspector::inspect(QStringLiteral("/usr/bin/env")).publisher(),
              QStringLiteral("Not signed"));
}

TEST(CodeSignatureInspector, OwningApplicationIsTheInnermostBundle)
{
    const std::pair<const char*, std::optional<QString>> cases[] = {
        {"/Applications/Foo.app/Contents/MacOS/Foo", QStringLiteral("/Applications/Foo.app")},
        {"/Applications/Foo.app/Contents/Helpers/Bar.app/Contents/MacOS/Bar",
         QStringLiteral("/Applications/Foo.app/Contents/Helpers/Bar.app")},
        {"/Applications/Foo.app", QStringLiteral("/Applications/Foo.app")},
        {"/Applications/Foo.app/", QStringLiteral("/Applications/Foo.app")},
        {"/usr/bin/tool", std::nullopt},
        {"/Foo.app/Contents/MacOS/Foo", std::nullopt},
        {"/Applications/.app/x", std::nullopt},
        {"/Applications/Foo.APP/x", std::nullopt},
        {"relative/Foo.app/x", std::nullopt},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(CodeSignatureInspector::owningApplication(QString::fromUtf8(path)), expected) << path;
    }
}
