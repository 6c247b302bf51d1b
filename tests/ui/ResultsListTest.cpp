#include "ReviewModelFixture.h"
#include "ResultsSamples.h"

#include "ui/components/AuroraBackground.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/StatusPill.h"
#include "ui/results/CategorySectionHeader.h"
#include "ui/results/ResultsList.h"
#include "ui/results/ResultsModel.h"
#include "ui/review/ScreenFrame.h"
#include "ui/theme/Symbols.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QScrollArea>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace harborlite;
using test::sampleGroup;
using test::sampleItem;
using test::sampleItems;
using test::sampleResult;

namespace {

// A model with scans that return what each test sets, and the reveals the list asked for.
class ResultsListTest : public ::testing::Test {
protected:
    test::ReviewModelFixture fixture;
    AppModel& model = fixture.model();
    QList<QStringList> revealed;
    ScreenServices services{
        .reveal = [this](const QStringList& paths) { revealed.append(paths); },
        .iconForFile = [](const QString&) { return QIcon(); },
    };

    std::unique_ptr<ResultsList> makeList(QList<ScanCategory> categories, int width = 900)
    {
        auto list = std::make_unique<ResultsList>(model, std::move(categories), services);
        tester_ = std::make_unique<QAbstractItemModelTester>(list->resultsModel(),
                                                             QAbstractItemModelTester::FailureReportingMode::Fatal);
        list->resize(width, 400);
        list->show();
        settle(*list);
        return list;
    }

    // Lets the list follow the model and lay itself out at its new height.
    static void settle(ResultsList& list)
    {
        test::settleLayouts();
        list.resize(list.width(), list.sizeHint().height());
        test::settleLayouts();
    }

    const ScanGroup& groupAt(ScanCategory category, int index) { return model.results().at(category).groups[index]; }

    void click(ResultsList& list, const QModelIndex& index, ResultsList::Target target)
    {
        const QRect rect = list.targetRect(index, target);
        ASSERT_FALSE(rect.isEmpty());
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
        settle(list);
    }

    void key(ResultsList& list, Qt::Key pressed)
    {
        QTest::keyClick(&list, pressed);
        settle(list);
    }

    int rowsOfKind(const ResultsList& list, ResultsModel::Kind kind)
    {
        int count = 0;
        for (int row = 0; row < list.resultsModel()->rowCount(); ++row) {
            count += list.resultsModel()->row(row).kind == kind ? 1 : 0;
        }
        return count;
    }

private:
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

TEST_F(ResultsListTest, Placeholder)
{
    auto list = makeList({ScanCategory::systemJunk});
    EXPECT_EQ(list->resultsModel()->rowCount(), 2);
}

} // namespace

namespace {

// A list of several categories in every state, with long names, expanded and
// collapsed groups and all three selection states, drawn in light and dark to
// PNG files in the build tree for a person to look at.
TEST_F(ResultsListTest, RendersAPopulatedListInBothAppearances)
{
    Symbols::useIconTheme();
    services.iconForFile = [](const QString& path) {
        return QIcon::fromTheme(path.endsWith(QLatin1String("2")) ? QStringLiteral("folder")
                                                                   : QStringLiteral("text-x-generic"));
    };
    QList<ScanItem> caches = sampleItems(QStringLiteral("cache-entry"), 45, 1250000, 20);
    caches[0].displayName = QStringLiteral("com.example.a-very-long-application-identifier.with.many.parts.and.more.parts.cache.db");
    caches[0].origin = QStringLiteral("~/Library/Caches/com.example.a-very-long-application-identifier/with/deep/folders/inside/it");
    caches[1].requiresReview = true;
    caches[1].detail = QStringLiteral("Used 3 days ago");
    caches[2].size = 0;
    caches[2].origin = QStringLiteral("~/.cache");
    fixture.load(sampleResult(ScanCategory::systemJunk,
                              {sampleGroup(QStringLiteral("User caches"), caches, true),
                               sampleGroup(QStringLiteral("Logs"), sampleItems(QStringLiteral("log"), 7, 3000, 7)),
                               sampleGroup(QStringLiteral("Language files"), sampleItems(QStringLiteral("lproj"), 3, 1, 0),
                                           false, true),
                               sampleGroup(QStringLiteral("Empty"), {}, true, true)}));
    fixture.load(sampleResult(ScanCategory::trash, {sampleGroup(QStringLiteral("Trash"), {})}));
    fixture.script.hold(ScanCategory::installers);
    model.scan(ScanCategory::installers);
    fixture.script.waitStarted(ScanCategory::installers);

    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/look");
    QDir().mkpath(folder);
    for (const auto& [appearance, name] : {std::pair{Appearance::light, QStringLiteral("results-light.png")},
                                           std::pair{Appearance::dark, QStringLiteral("results-dark.png")}}) {
        AuroraBackground root;
        Palette::setOwnAppearance(&root, appearance);
        auto* layout = new QVBoxLayout(&root);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* frame = new ScreenFrame;
        layout->addWidget(frame);
        auto* list = new ResultsList(model,
                                     {ScanCategory::systemJunk, ScanCategory::trash, ScanCategory::mailAttachments,
                                      ScanCategory::installers},
                                     services);
        frame->addWidget(list);
        root.resize(800, 2300);
        root.show();
        test::settleLayouts();
        list->setFocus();
        list->setCurrentIndex(list->groupIndex(ScanCategory::systemJunk, groupAt(ScanCategory::systemJunk, 1).id));
        test::settleLayouts();
        const QString path = QDir(folder).filePath(name);
        const QPixmap shot = root.grab();
        EXPECT_TRUE(shot.save(path)) << path.toStdString();
        // The first rows at full size, where the details show.
        EXPECT_TRUE(shot.copy(0, 0, 800, 360).save(QDir(folder).filePath(QStringLiteral("top-") + name)));
    }
}

} // namespace
