#include "ui/updates/UpdateSheet.h"
#include "ui/components/CheckBoxStyle.h"

#include "WindowFixture.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"

#include <QCheckBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;
using Framing = test::FeedServer::Response::Framing;
using State = UpdateSheet::State;

namespace {

class UpdateSheetTest : public testing::Test {
protected:
    test::WindowFixture fixture;
    int closes = 0;

    UpdateSheetTest() { fixture.makeModel(); }

    UpdateChecker& updates() { return fixture.model->updates(); }

    std::unique_ptr<UpdateSheet> makeSheet()
    {
        auto sheet = std::make_unique<UpdateSheet>(*fixture.model, updates(), [this] { ++closes; });
        sheet->show();
        return sheet;
    }

    // Starts a manual check the server never answers.
    void startHangingCheck()
    {
        fixture.serve({200, {}, {}, Framing::silent});
        updates().clearManualResult();
        updates().checkNow();
        ASSERT_TRUE(updates().isChecking());
    }

    QString text(const UpdateSheet& sheet, const char* name)
    {
        const auto* label = sheet.findChild<RoleLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QStringLiteral("<none>");
    }
};

} // namespace

TEST_F(UpdateSheetTest, FirstMatchingRuleChoosesTheState)
{
    // Nothing known yet.
    UpdateSheet::Content content = UpdateSheet::content(updates());
    EXPECT_EQ(content.state, State::upToDate);
    EXPECT_EQ(content.symbol, QStringLiteral("checkmark.seal.fill"));
    EXPECT_EQ(content.title, QStringLiteral("Harborlite is up to date"));
    EXPECT_EQ(content.detail, QStringLiteral("You have version 1.0 (100), the latest there is."));

    // A failed manual check shows its message verbatim.
    fixture.serve({503, "busy"});
    fixture.checkNow();
    content = UpdateSheet::content(updates());
    EXPECT_EQ(content.state, State::failed);
    EXPECT_EQ(content.symbol, QStringLiteral("wifi.exclamationmark"));
    EXPECT_EQ(content.title, QStringLiteral("Could not check for updates"));
    ASSERT_EQ(updates().lastManualResult()->kind, UpdateChecker::ManualResult::Kind::failed);
    EXPECT_EQ(content.detail, updates().lastManualResult()->description);

    // A check in flight.
    startHangingCheck();
    content = UpdateSheet::content(updates());
    EXPECT_EQ(content.state, State::checking);
    EXPECT_EQ(content.symbol, std::nullopt);
    EXPECT_EQ(content.title, QString::fromUtf8("Checking for updates\u2026"));
    EXPECT_EQ(content.detail, QStringLiteral("Asking 127.0.0.1 for the latest version."));
}

TEST(UpdateSheet, ABuildWithoutASiteSaysSoPlainly)
{
    test::WindowFixture fixture;
    AppModel::Setup setup = fixture.setup();
    setup.updateConfiguration = QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl());
    fixture.model = std::make_unique<AppModel>(fixture.defaults, std::move(setup));
    UpdateChecker& updates = fixture.model->updates();

    for (bool asked : {false, true}) {
        if (asked) {
            fixture.checkNow();
        }
        const UpdateSheet::Content content = UpdateSheet::content(updates);
        EXPECT_EQ(content.state, State::noSite);
        EXPECT_EQ(content.symbol, QStringLiteral("info.circle.fill"));
        EXPECT_EQ(content.title, QStringLiteral("This build has no update site"));
        EXPECT_EQ(content.detail,
                  QStringLiteral("Harborlite 1.0 (100) was built without an update site, so it never "
                                 "checks for updates. New versions come from wherever you installed it."));
    }
    EXPECT_TRUE(fixture.feed.requests().isEmpty());
}

TEST_F(UpdateSheetTest, AvailableWinsOverAcheckInFlightAndRemindLaterFallsToUpToDate)
{
    fixture.makeAvailable();
    startHangingCheck();
    EXPECT_EQ(UpdateSheet::content(updates()).state, State::available);

    fixture.makeAvailable();
    ASSERT_EQ(updates().lastManualResult()->kind, UpdateChecker::ManualResult::Kind::updateAvailable);
    updates().remindLater();
    EXPECT_EQ(UpdateSheet::content(updates()).state, State::upToDate);
}

TEST_F(UpdateSheetTest, InstalledLineEndsWithTheReleaseDateAsReceived)
{
    AppUpdate update;
    EXPECT_EQ(UpdateSheet::installedLine(QStringLiteral("1.0"), 100, update), QStringLiteral("You have 1.0 (100)"));
    update.releasedAt = QString();
    EXPECT_EQ(UpdateSheet::installedLine(QStringLiteral("1.0"), 100, update),
              QString::fromUtf8("You have 1.0 (100) \u00B7 released "));
    update.releasedAt = QStringLiteral("2026-03-01T10:00:00Z");
    EXPECT_EQ(UpdateSheet::installedLine(QStringLiteral("1.0"), 100, update),
              QString::fromUtf8("You have 1.0 (100) \u00B7 released 2026-03-01T10:00:00Z"));
}

TEST_F(UpdateSheetTest, FollowsTheCheckerWhileOpen)
{
    auto sheet = makeSheet();
    EXPECT_EQ(sheet->state(), State::upToDate);
    EXPECT_EQ(text(*sheet, "statusTitle"), QStringLiteral("Harborlite is up to date"));

    startHangingCheck();
    test::WindowFixture::settle();
    EXPECT_EQ(sheet->state(), State::checking);
    EXPECT_NE(sheet->findChild<QWidget*>(QStringLiteral("checkingSpinner")), nullptr);

    fixture.makeAvailable({QStringLiteral("Faster scans"), QStringLiteral("Fewer clicks")}, QStringLiteral("March 1"));
    test::WindowFixture::settle();
    EXPECT_EQ(sheet->state(), State::available);
    EXPECT_EQ(text(*sheet, "availableTitle"), QStringLiteral("Harborlite 2.0 is available"));
    EXPECT_EQ(text(*sheet, "installedLine"), QString::fromUtf8("You have 1.0 (100) \u00B7 released March 1"));
    EXPECT_NE(sheet->findChild<QWidget*>(QStringLiteral("whatsNew")), nullptr);
    EXPECT_EQ(sheet->downloadButton()->text(), QStringLiteral("Download Harborlite 2.0"));
    EXPECT_EQ(sheet->downloadButton()->symbol(), QStringLiteral("arrow.down.circle"));
    // The preference's box is the kit's, visible in the dark too.
    auto* automatic = sheet->findChild<QCheckBox*>(QStringLiteral("automaticCheckBox"));
    ASSERT_NE(automatic, nullptr);
    EXPECT_NE(qobject_cast<CheckBoxStyle*>(automatic->style()), nullptr);
    EXPECT_EQ(sheet->width(), UpdateSheet::kWidth);
}

TEST_F(UpdateSheetTest, NoWhatsNewBlockWithoutNotes)
{
    fixture.makeAvailable({});
    auto sheet = makeSheet();
    EXPECT_EQ(sheet->state(), State::available);
    EXPECT_EQ(sheet->findChild<QWidget*>(QStringLiteral("whatsNew")), nullptr);
    EXPECT_NE(sheet->downloadButton(), nullptr);
    EXPECT_NE(sheet->skipButton(), nullptr);
}

TEST_F(UpdateSheetTest, ButtonsActOnTheRelease)
{
    fixture.makeAvailable();
    auto sheet = makeSheet();
    QTest::mouseClick(sheet->downloadButton(), Qt::LeftButton);
    QTest::mouseClick(sheet->releaseNotesButton(), Qt::LeftButton);
    EXPECT_EQ(fixture.opened, (QList<QUrl>{QUrl("https://example.org/download"), QUrl("https://example.org/notes")}));
    EXPECT_EQ(closes, 0);

    QTest::mouseClick(sheet->skipButton(), Qt::LeftButton);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(updates().available(), std::nullopt);
    EXPECT_EQ(fixture.defaults.values().value(QStringLiteral("QuorvaneKit.update.skippedBuild")).toInteger(), 200);
}

TEST_F(UpdateSheetTest, ReturnDownloadsOnlyWhenAvailableAndEscapeAlwaysCloses)
{
    auto sheet = makeSheet();
    QTest::keyClick(sheet.get(), Qt::Key_Return);
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(fixture.opened.isEmpty());
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_EQ(closes, 1);

    fixture.makeAvailable();
    test::WindowFixture::settle();
    QTest::keyClick(sheet.get(), Qt::Key_Return);
    EXPECT_EQ(fixture.opened, (QList<QUrl>{QUrl("https://example.org/download")}));
    EXPECT_EQ(closes, 1);
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_EQ(closes, 2);
}

TEST_F(UpdateSheetTest, CheckboxStoresThePreferenceAtOnce)
{
    auto sheet = makeSheet();
    const QString key = QStringLiteral("QuorvaneKit.update.automaticallyChecks");
    ASSERT_TRUE(sheet->automaticCheckBox()->isChecked());
    sheet->automaticCheckBox()->click();
    EXPECT_FALSE(updates().automaticallyChecks());
    EXPECT_EQ(fixture.defaults.values().value(key), QJsonValue(false));
    sheet->automaticCheckBox()->click();
    EXPECT_EQ(fixture.defaults.values().value(key), QJsonValue(true));
    EXPECT_EQ(closes, 0);
}

TEST_F(UpdateSheetTest, LongFailureWrapsInsideTheSheet)
{
    const QString message = QString(QStringLiteral("The server could not be reached at all. ")).repeated(8);
    fixture.serve({404, message.toUtf8()});
    fixture.checkNow();
    auto sheet = makeSheet();
    ASSERT_EQ(sheet->state(), State::failed);
    const auto* detail = sheet->findChild<RoleLabel*>(QStringLiteral("statusDetail"));
    ASSERT_NE(detail, nullptr);
    EXPECT_TRUE(detail->wordWrap());
    EXPECT_LE(detail->mapTo(sheet.get(), QPoint(detail->width(), 0)).x(), UpdateSheet::kWidth);
    EXPECT_GE(detail->height(), detail->heightForWidth(detail->width()));
}
