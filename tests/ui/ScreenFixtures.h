#pragma once

#include "model/AppModel.h"
#include "model/FakeEngine.h"
#include "shared/MemoryDefaults.h"
#include "support/QtPrinters.h"
#include "ui/cleaning/CategoryTotals.h"
#include "ui/cleaning/ReviewLooks.h"
#include "ui/cleaning/ReviewScreen.h"
#include "ui/cleaning/ReviewState.h"
#include "ui/cleaning/ScanButton.h"
#include "ui/components/ActionBarLook.h"
#include "ui/components/ScreenServices.h"
#include "ui/components/SummaryRow.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <mutex>
#include <ostream>

namespace harborlite {

// Readable failure messages for the screens' looks.
void PrintTo(const ScanButtonLook& look, std::ostream* os);
void PrintTo(const ActionBarLook& look, std::ostream* os);
void PrintTo(const CategoryTotals& totals, std::ostream* os);
void PrintTo(const SummaryRow::Values& values, std::ostream* os);

} // namespace harborlite

namespace harborlite::test {

ScanItem item(const QString& name, qint64 size, bool selected = false);
ScanGroup group(const QString& title, QList<ScanItem> items);
CategoryResult result(ScanCategory category, QList<ScanGroup> groups = {});

// A review state holding the given results and running categories.
ReviewState reviewState(std::initializer_list<CategoryResult> results, ScanSession::Categories running = {});

// A model whose scanners are a ScanScript (whose results the test may
// replace per category), whose remover records what it was asked and whose
// samples report the free space the test sets. Waits for its workers when it
// goes.
class ScreenModel {
public:
    struct Removal {
        QStringList locations;
        bool userSelected = false;
        Remover::Mode mode = Remover::Mode::trash;
    };

    ScreenModel();
    ~ScreenModel();
    ScreenModel(const ScreenModel&) = delete;
    ScreenModel& operator=(const ScreenModel&) = delete;

    AppModel& model() { return *model_; }
    ScanSession& scans() { return model_->scanSession(); }
    MonitorFeed& feed() { return model_->monitorFeed(); }
    ScanScript& script() { return script_; }
    const ScreenServices& services() const { return services_; }

    // Scans of the category that end from now on return these groups.
    void setGroups(ScanCategory category, QList<ScanGroup> groups);
    // Scans the category (not held) with these groups and waits for its result.
    void scanned(ScanCategory category, QList<ScanGroup> groups);
    // Takes one sample reporting this much free space and waits for it.
    void setDiskFree(qint64 bytes);

    // Removals wait until released; each one is recorded.
    void holdRemovals();
    void releaseRemovals();
    QList<Removal> removals() const;
    // Waits until the model's removal is done.
    void waitCleaned();
    QStringList revealed() const { return revealed_; }

private:
    struct Shared;

    MemoryDefaults defaults_;
    ScanScript script_;
    std::shared_ptr<Shared> shared_;
    std::shared_ptr<BackgroundRunner> runner_;
    std::unique_ptr<AppModel> model_;
    ScreenServices services_;
    QStringList revealed_;
};

// Runs the queued refreshes of the screens.
void settle();

// The palette role whose colours `color` has; none for another colour.
std::optional<PaletteRole> roleOf(const AdaptiveColor& color);

// What a screen's scan button shows: title, tint and whether a press stops.
ScanButtonLook shownScan(const ScanButton& button);

// What an action bar shows; none without a bar. A busy bar reads as not
// enabled, since its button refuses clicks.
std::optional<ActionBarLook> shownBar(const PrimaryActionBar* bar);
std::optional<ActionBarLook> shownBar(const ReviewScreen& screen);

// Presses the action bar's button; false without a bar.
bool pressBar(const ReviewScreen& screen);

// Renders what `make` builds on the window's background at `size`, light and
// dark, to `<name>-light.png` and `<name>-dark.png` in the test binary's
// "screens" folder; returns the files written. `prepare`, when given, is run
// on the shown screen before each picture.
QStringList renderScreens(const std::function<QWidget*()>& make, const QString& name, QSize size = {1020, 860},
                          const std::function<void(QWidget&)>& prepare = {});

} // namespace harborlite::test
