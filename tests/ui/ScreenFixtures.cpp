#include "ui/ScreenFixtures.h"

#include "model/AppModelSetup.h"
#include "paint/Palette.h"
#include "ui/components/AuroraBackground.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/RoleLabel.h"

#include <QCoreApplication>
#include <QDir>
#include <QVBoxLayout>

#include <optional>

namespace harborlite {

namespace {

int roleIndex(PaletteRole role)
{
    return int(role);
}

} // namespace

void PrintTo(const ScanButtonLook& look, std::ostream* os)
{
    *os << "{" << look.title.toStdString() << ", tint " << roleIndex(look.tint) << (look.isBusy ? ", busy}" : "}");
}

void PrintTo(const ActionBarLook& look, std::ostream* os)
{
    *os << "{" << look.title.toStdString() << " | " << look.detail.toStdString() << " | "
        << look.buttonTitle.toStdString() << (look.isEnabled ? ", enabled" : ", disabled")
        << (look.isBusy ? ", busy" : "") << ", tint " << roleIndex(look.tint) << "}";
}

void PrintTo(const SummaryRow::Values& values, std::ostream* os)
{
    *os << "{" << values.found.toStdString() << ", " << values.selected.toStdString() << ", "
        << values.freeAfter.toStdString() << "}";
}

void PrintTo(const CategoryTotals& totals, std::ostream* os)
{
    *os << "{selected " << totals.selected << ", found " << totals.found << (totals.hasAnyResult ? ", any" : "")
        << (totals.isBusy ? ", busy" : "") << "}";
}

} // namespace harborlite

namespace harborlite::test {

ScanItem item(const QString& name, qint64 size, bool selected)
{
    ScanItem made;
    made.url = QStringLiteral("/fixture/") + name;
    made.displayName = name;
    made.size = size;
    made.isSelected = selected;
    return made;
}

ScanGroup group(const QString& title, QList<ScanItem> items)
{
    ScanGroup made;
    made.title = title;
    made.subtitle = QString::number(items.size()) + QStringLiteral(" files");
    made.symbol = QStringLiteral("doc");
    made.items = std::move(items);
    return made;
}

CategoryResult result(ScanCategory category, QList<ScanGroup> groups)
{
    return {category, std::move(groups), QDateTime::currentDateTimeUtc()};
}

ReviewState reviewState(std::initializer_list<CategoryResult> results, ScanSession::Categories running)
{
    ReviewState state;
    for (const CategoryResult& one : results) {
        state.results[one.category] = one;
    }
    state.running = std::move(running);
    return state;
}

struct ScreenModel::Shared {
    mutable std::mutex mutex;
    std::map<ScanCategory, QList<ScanGroup>> groups;
    QList<Removal> removals;
    std::shared_ptr<Gate> removeGate;
    qint64 diskFree = 0;
};

namespace {

// Runs the script's scanner (its gates and progress) and hands back the
// groups the test has chosen for the category by the time the scan ends.
class PresetScanner : public CategoryScanner {
public:
    PresetScanner(std::unique_ptr<CategoryScanner> inner, std::function<std::optional<QList<ScanGroup>>()> groups)
        : inner_(std::move(inner))
        , groups_(std::move(groups))
    {
    }
    ScanCategory category() const override { return inner_->category(); }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override
    {
        CategoryResult found = inner_->scan(progress, isCancelled);
        if (std::optional<QList<ScanGroup>> chosen = groups_()) {
            found.groups = std::move(*chosen);
        }
        return found;
    }

private:
    std::unique_ptr<CategoryScanner> inner_;
    std::function<std::optional<QList<ScanGroup>>()> groups_;
};

} // namespace

ScreenModel::ScreenModel()
    : shared_(std::make_shared<Shared>())
    , runner_(std::make_shared<BackgroundRunner>(8))
{
    ModelEngine engine = quietEngine();
    engine.scanner = [this, shared = shared_](ScanCategory category) -> std::unique_ptr<CategoryScanner> {
        return std::make_unique<PresetScanner>(
            script_.scanner(category), [shared, category]() -> std::optional<QList<ScanGroup>> {
                std::lock_guard lock(shared->mutex);
                const auto found = shared->groups.find(category);
                return found == shared->groups.end() ? std::nullopt : std::optional(found->second);
            });
    };
    engine.remove = [shared = shared_](const QStringList& locations, bool userSelected, Remover::Mode mode) {
        std::shared_ptr<Gate> gate;
        {
            std::lock_guard lock(shared->mutex);
            gate = shared->removeGate;
        }
        if (gate) {
            gate->pass();
        }
        std::lock_guard lock(shared->mutex);
        shared->removals.append({locations, userSelected, mode});
        CleanupReport report;
        report.removed = int(locations.size());
        return report;
    };
    engine.makeSampler = [shared = shared_] {
        return ModelEngine::Sampler([shared] {
            SystemSnapshot snapshot;
            std::lock_guard lock(shared->mutex);
            snapshot.diskFree = shared->diskFree;
            return snapshot;
        });
    };

    AppModel::Setup setup;
    setup.engine = std::move(engine);
    setup.updateConfiguration = QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl("http://127.0.0.1:9"));
    setup.bundleInformation = {};
    setup.systemVersion = {12, 0, 0};
    setup.runner = runner_;
    setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
    model_ = std::make_unique<AppModel>(defaults_, std::move(setup));

    services_.reveal = [this](const QStringList& paths) { revealed_ += paths; };
    services_.iconForFile = [](const QString&) { return QIcon(); };
}

ScreenModel::~ScreenModel()
{
    script_.releaseAll();
    releaseRemovals();
    model_.reset();
    runner_->waitForDone();
    QCoreApplication::sendPostedEvents();
}

void ScreenModel::setGroups(ScanCategory category, QList<ScanGroup> groups)
{
    std::lock_guard lock(shared_->mutex);
    shared_->groups[category] = std::move(groups);
}

void ScreenModel::scanned(ScanCategory category, QList<ScanGroup> groups)
{
    setGroups(category, std::move(groups));
    model_->scan(category);
    waitFor([&] { return !model_->runningCategories().contains(category) && model_->result(category); });
    settle();
}

void ScreenModel::setDiskFree(qint64 bytes)
{
    {
        std::lock_guard lock(shared_->mutex);
        shared_->diskFree = bytes;
    }
    model_->refreshSnapshot();
    waitFor([&] { return model_->snapshot().diskFree == bytes; });
    settle();
}

void ScreenModel::holdRemovals()
{
    std::lock_guard lock(shared_->mutex);
    shared_->removeGate = std::make_shared<Gate>();
}

void ScreenModel::releaseRemovals()
{
    std::lock_guard lock(shared_->mutex);
    if (shared_->removeGate) {
        shared_->removeGate->open();
    }
}

QList<ScreenModel::Removal> ScreenModel::removals() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->removals;
}

void ScreenModel::waitCleaned()
{
    waitFor([&] { return !model_->isCleaning(); });
    settle();
}

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

std::optional<PaletteRole> roleOf(const AdaptiveColor& color)
{
    for (int index = 0; index < paletteRoleCount; ++index) {
        const auto role = PaletteRole(index);
        const AdaptiveColor& candidate = Palette::color(role);
        if (candidate.light == color.light && candidate.dark == color.dark) {
            return role;
        }
    }
    return std::nullopt;
}

ScanButtonLook shownScan(const ScanButton& button)
{
    return {button.text(), roleOf(button.tint()).value_or(PaletteRole::ink), button.isBusy()};
}

std::optional<ActionBarLook> shownBar(const PrimaryActionBar* bar)
{
    if (!bar) {
        return std::nullopt;
    }
    return ActionBarLook{bar->titleLabel()->text(),     bar->detailLabel()->text(),
                         bar->button()->text(),         bar->button()->isEnabled(),
                         bar->button()->showsSpinner(), roleOf(bar->button()->tint()).value_or(PaletteRole::ink)};
}

std::optional<ActionBarLook> shownBar(const ReviewScreen& screen)
{
    return shownBar(screen.actionBar());
}

bool pressBar(const ReviewScreen& screen)
{
    PrimaryActionBar* bar = screen.actionBar();
    if (!bar) {
        return false;
    }
    bar->button()->click();
    return true;
}

QStringList renderScreens(const std::function<QWidget*()>& make, const QString& name, QSize size,
                          const std::function<void(QWidget&)>& prepare)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screens");
    QDir().mkpath(folder);
    QStringList files;
    for (const auto& [appearance, suffix] :
         {std::pair{Appearance::light, QStringLiteral("light")}, std::pair{Appearance::dark, QStringLiteral("dark")}}) {
        AuroraBackground host;
        Palette::setOwnAppearance(&host, appearance);
        auto* layout = new QVBoxLayout(&host);
        layout->setContentsMargins(0, 0, 0, 0);
        QWidget* view = make();
        layout->addWidget(view);
        host.resize(size);
        host.show();
        if (prepare) {
            prepare(*view);
        }
        settle();
        const QString file = folder + QLatin1Char('/') + name + QLatin1Char('-') + suffix + QStringLiteral(".png");
        if (host.grab().save(file)) {
            files.append(file);
        }
    }
    return files;
}

} // namespace harborlite::test
