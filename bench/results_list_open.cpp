// Opening the results list on a category of 100,000 items: from the moment
// the model holds the result to the list laid out and painted, against a plain
// QListWidget given the same 100,000 names (the peer that lists everything) and
// a QListWidget given only the rows the results list shows (the peer that pages
// like it but paints plain text). Two shapes: one expanded group of 100,000
// items, and 500 groups of 200 items with the first expanded. Then the cost of
// one scrolling frame with 1,040 rows listed. Any argument skips the opening
// rounds and times only the scrolling.
#include "RoundStats.h"
#include "engine/scanners/CategoryScanner.h"
#include "model/AppModel.h"
#include "shared/MemoryDefaults.h"
#include "ui/components/ScreenFrame.h"
#include "ui/results/ResultsList.h"
#include "ui/results/ResultsModel.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <vector>

using namespace harborlite;

namespace {

using harborlite::bench::Stats;
using harborlite::bench::stats;

constexpr int kRounds = 9;
constexpr int kItems = 100000;

CategoryResult generate(int groups, int expanded)
{
    CategoryResult result;
    result.category = ScanCategory::largeAndOld;
    result.scannedAt = QDateTime::currentDateTimeUtc();
    const int perGroup = kItems / groups;
    for (int g = 0; g < groups; ++g) {
        ScanGroup group;
        group.title = QStringLiteral("Folder ") + QString::number(g);
        group.subtitle = QStringLiteral("/home/user/Documents/folder-") + QString::number(g);
        group.symbol = QStringLiteral("folder.fill");
        group.isExpanded = g < expanded;
        group.items.reserve(perGroup);
        for (int i = 0; i < perGroup; ++i) {
            ScanItem item;
            item.url = group.subtitle + QStringLiteral("/file-") + QString::number(i) + QStringLiteral(".bin");
            item.displayName = QStringLiteral("file-") + QString::number(i) + QStringLiteral(".bin");
            item.origin = group.subtitle;
            item.size = 1000 + i;
            item.isSelected = i % 3 == 0;
            group.items.append(item);
        }
        result.groups.append(group);
    }
    return result;
}

// Hands the model a prepared result with new identifiers, as a new scan would.
class PreparedScanner : public CategoryScanner {
public:
    explicit PreparedScanner(CategoryResult result)
        : result_(std::move(result))
    {
    }
    ScanCategory category() const override { return result_.category; }
    CategoryResult scan(const ProgressCallback&, const CancelPredicate&) const override
    {
        CategoryResult fresh = result_;
        for (ScanGroup& group : fresh.groups) {
            group.id = QUuid::createUuid();
            for (ScanItem& item : group.items) {
                item.id = QUuid::createUuid();
            }
        }
        return fresh;
    }

private:
    CategoryResult result_;
};

struct Bench {
    MemoryDefaults defaults;
    std::shared_ptr<CategoryResult> result = std::make_shared<CategoryResult>();
    std::unique_ptr<AppModel> model;

    Bench()
    {
        AppModel::Setup setup;
        setup.engine.scanner = [result = result](ScanCategory) { return std::make_unique<PreparedScanner>(*result); };
        setup.updateConfiguration = QuorvaneConfiguration("harborlite", QUrl("http://127.0.0.1:9"));
        setup.bundleInformation = {};
        setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
        model = std::make_unique<AppModel>(defaults, std::move(setup));
    }

    // Runs a scan to its end.
    void scan()
    {
        model->scan(ScanCategory::largeAndOld);
        while (model->runningCategories().contains(ScanCategory::largeAndOld)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
    }
};

void settle()
{
    for (int turn = 0; turn < 4; ++turn) {
        QCoreApplication::processEvents();
    }
}

void report(QTextStream& out, const QString& what, const Stats& s)
{
    out << what << " (ms): min " << s.min << " median " << s.median << " max " << s.max << "\n";
}

void run(QTextStream& out, const QString& shape, int groups, int expanded)
{
    Bench bench;
    *bench.result = generate(groups, expanded);

    std::vector<double> arrive;
    std::vector<double> open;
    std::vector<double> allNames;
    std::vector<double> sameRows;
    for (int round = 0; round < kRounds; ++round) {
        // The screen is showing when the scan's result arrives.
        {
            ScreenFrame frame;
            auto* list =
                new ResultsList(bench.model->scanSession(), {ScanCategory::largeAndOld}, ScreenServices::real());
            frame.addWidget(list);
            frame.resize(1000, 800);
            frame.show();
            settle();
            QElapsedTimer timer;
            QUuid arrived;
            QObject::connect(bench.model.get(), &AppModel::resultsChanged, &frame, [&] {
                timer.start();
                arrived = bench.model->results().at(ScanCategory::largeAndOld).groups.front().id;
            });
            bench.scan();
            // Until the list shows the new result's first group.
            while (arrived.isNull() || list->resultsModel()->rowCount() < 2
                   || list->resultsModel()->row(1).key != arrived) {
                QCoreApplication::processEvents();
            }
            frame.grab();
            arrive.push_back(timer.nsecsElapsed() / 1e6);
        }
        // The screen opens on a result the model already holds.
        {
            QElapsedTimer timer;
            timer.start();
            ScreenFrame frame;
            auto* list =
                new ResultsList(bench.model->scanSession(), {ScanCategory::largeAndOld}, ScreenServices::real());
            frame.addWidget(list);
            frame.resize(1000, 800);
            frame.show();
            frame.grab();
            open.push_back(timer.nsecsElapsed() / 1e6);
        }
        // Peers: a plain list of every name, and a plain list of the same rows.
        {
            QElapsedTimer timer;
            timer.start();
            QListWidget peer;
            const CategoryResult& result = bench.model->results().at(ScanCategory::largeAndOld);
            for (const ScanGroup& group : result.groups) {
                for (const ScanItem& item : group.items) {
                    peer.addItem(item.displayName);
                }
            }
            peer.resize(1000, 800);
            peer.show();
            peer.grab();
            allNames.push_back(timer.nsecsElapsed() / 1e6);
        }
        {
            ResultsModel rows(bench.model->scanSession(), {ScanCategory::largeAndOld});
            QElapsedTimer timer;
            timer.start();
            QListWidget peer;
            for (int row = 0; row < rows.rowCount(); ++row) {
                peer.addItem(rows.data(rows.index(row)).toString());
            }
            peer.resize(1000, 800);
            peer.show();
            peer.grab();
            sameRows.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    const Stats arrived = stats(arrive);
    const Stats opened = stats(open);
    const Stats every = stats(allNames);
    const Stats same = stats(sameRows);
    out << shape << ", " << kItems << " items, " << kRounds << " rounds\n";
    report(out, QStringLiteral("  results list, result arrives while shown"), arrived);
    report(out, QStringLiteral("  results list, opens on a held result"), opened);
    report(out, QStringLiteral("  peer QListWidget, every item name"), every);
    report(out, QStringLiteral("  peer QListWidget, the same rows as plain text"), same);
    out << "  ratio open / every-name peer (median): " << opened.median / every.median << "\n";
    out << "  ratio open / same-rows peer (median): " << opened.median / same.median << "\n";
}

// One scrolling frame: the column moved by 40 pixels and the window repainted,
// with 1,040 rows listed (five more pages of the expanded group).
void scrolling(QTextStream& out)
{
    Bench bench;
    *bench.result = generate(1, 1);
    bench.scan();
    ScreenFrame frame;
    auto* list = new ResultsList(bench.model->scanSession(), {ScanCategory::largeAndOld}, ScreenServices::real());
    frame.addWidget(list);
    frame.resize(1000, 800);
    frame.show();
    settle();
    const QUuid group = bench.model->results().at(ScanCategory::largeAndOld).groups.front().id;
    for (int page = 0; page < 5; ++page) {
        list->resultsModel()->showMore(group);
    }
    settle();
    QListWidget peer;
    for (int row = 0; row < list->resultsModel()->rowCount(); ++row) {
        peer.addItem(list->resultsModel()->data(list->resultsModel()->index(row)).toString());
    }
    peer.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    peer.resize(1000, 800);
    peer.show();
    settle();

    constexpr int steps = 60;
    const auto frames = [&](QScrollBar* bar, QWidget& window) {
        std::vector<double> perFrame;
        for (int round = 0; round < kRounds; ++round) {
            QElapsedTimer timer;
            timer.start();
            for (int step = 0; step < steps; ++step) {
                bar->setValue((round * steps + step) * 40 % std::max(1, bar->maximum()));
                window.grab();
            }
            perFrame.push_back(timer.nsecsElapsed() / 1e6 / steps);
        }
        return stats(perFrame);
    };
    const Stats ours = frames(frame.scrollArea()->verticalScrollBar(), frame);
    const Stats plain = frames(peer.verticalScrollBar(), peer);
    out << "scrolling, " << list->resultsModel()->rowCount() << " rows listed, " << kRounds << " rounds of " << steps
        << " frames\n";
    report(out, QStringLiteral("  results list, per frame"), ours);
    report(out, QStringLiteral("  peer QListWidget of the same rows, per frame"), plain);
    out << "  ratio (median): " << ours.median / plain.median << "\n";
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Symbols::useIconTheme();
    QTextStream out(stdout);
    if (argc < 2) {
        run(out, QStringLiteral("one expanded group"), 1, 1);
        run(out, QStringLiteral("500 groups, the first expanded"), 500, 1);
    }
    scrolling(out);
    return 0;
}
