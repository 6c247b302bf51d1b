// Opening a disk column of 100,000 entries, from the moment the browser has
// them to the column laid out and painted, against a plain QListWidget given
// the same 100,000 rows as text. Three ways in: an on-demand listing that
// arrives while its column shows "Measuring…", a folder whose listing the
// store already holds, and a map whose root holds the 100,000 entries itself
// (copied from the store, as the embedding screen does). Then the cost of one
// scrolling frame in that column against the plain list. Any argument skips
// the opening rounds and times only the scrolling.
#include "RoundStats.h"
#include "shared/Formatting.h"
#include "ui/diskmap/DiskColumn.h"
#include "ui/diskmap/DiskColumns.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <QTextStream>
#include <QUuid>

#include <vector>

using namespace harborlite;

namespace {

using harborlite::bench::Stats;
using harborlite::bench::stats;

constexpr int kRounds = 9;
constexpr int kEntries = 100000;
const QSize kWindow(1000, 700);

std::vector<DiskNode> entries(const QString& folder)
{
    std::vector<DiskNode> made;
    made.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        const QString name = QStringLiteral("file-") + QString::number(i) + QStringLiteral(".bin");
        // Largest first with runs of equal sizes, as a listing delivers them.
        made.push_back({QUuid::createUuid(),
                        folder + QLatin1Char('/') + name,
                        name,
                        qint64(kEntries - i / 4) * 1000,
                        i % 7 == 0,
                        {}});
    }
    return made;
}

struct Store {
    DiskColumns::Listings listings;
    DiskColumns::Locations listing;
    DiskColumns* columns = nullptr;

    DiskColumns::Source source()
    {
        return {[this]() -> const DiskColumns::Listings& { return listings; },
                [this]() -> const DiskColumns::Locations& { return listing; },
                [this](const DiskNode& folder) { listing.insert(folder.url); }, [](const QString&) {}};
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

DiskNode mapWithUnmeasuredFolder()
{
    return {QUuid::createUuid(),
            QStringLiteral("/map"),
            QStringLiteral("map"),
            qint64(kEntries) * 100'000,
            true,
            {{QUuid::createUuid(),
              QStringLiteral("/map/big"),
              QStringLiteral("big"),
              qint64(kEntries) * 90'000,
              true,
              {}}}};
}

void opening(QTextStream& out)
{
    const std::vector<DiskNode> listed = entries(QStringLiteral("/map/big"));
    DiskNode wide{QUuid::createUuid(),
                  QStringLiteral("/wide"),
                  QStringLiteral("wide"),
                  qint64(kEntries) * 90'000,
                  true,
                  entries(QStringLiteral("/wide"))};

    std::vector<double> arrives;
    std::vector<double> held;
    std::vector<double> root;
    std::vector<double> peer;
    for (int round = 0; round < kRounds; ++round) {
        {
            Store store;
            DiskColumns columns(mapWithUnmeasuredFolder(), store.source());
            store.columns = &columns;
            columns.resize(kWindow);
            columns.show();
            columns.select(columns.root().children.front(), 0);
            settle();
            QElapsedTimer timer;
            timer.start();
            store.listing.clear();
            store.listings[QStringLiteral("/map/big")] = listed;
            columns.refresh();
            columns.grab();
            arrives.push_back(timer.nsecsElapsed() / 1e6);
        }
        {
            Store store;
            store.listings[QStringLiteral("/map/big")] = listed;
            QElapsedTimer timer;
            timer.start();
            DiskColumns columns(mapWithUnmeasuredFolder(), store.source());
            columns.resize(kWindow);
            columns.show();
            columns.select(columns.root().children.front(), 0);
            columns.grab();
            held.push_back(timer.nsecsElapsed() / 1e6);
        }
        {
            Store store;
            QElapsedTimer timer;
            timer.start();
            DiskColumns columns(wide, store.source());
            columns.resize(kWindow);
            columns.show();
            columns.grab();
            root.push_back(timer.nsecsElapsed() / 1e6);
        }
        {
            QElapsedTimer timer;
            timer.start();
            QListWidget list;
            for (const DiskNode& node : listed) {
                list.addItem(Format::byteText(node.size) + QStringLiteral("  ") + node.name);
            }
            list.resize(kWindow);
            list.show();
            list.grab();
            peer.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    const Stats arrived = stats(arrives);
    const Stats opened = stats(held);
    const Stats rooted = stats(root);
    const Stats plain = stats(peer);
    out << "opening a column of " << kEntries << " entries, " << kRounds << " rounds\n";
    report(out, QStringLiteral("  disk columns, listing arrives while shown"), arrived);
    report(out, QStringLiteral("  disk columns, opens on a held listing"), opened);
    report(out, QStringLiteral("  disk columns, map root holding the entries"), rooted);
    report(out, QStringLiteral("  peer QListWidget of the same rows as text"), plain);
    out << "  ratio arrives / peer (median): " << arrived.median / plain.median << "\n";
    out << "  ratio held / peer (median): " << opened.median / plain.median << "\n";
    out << "  ratio root / peer (median): " << rooted.median / plain.median << "\n";
}

// One scrolling frame: the 100,000-entry column moved by 40 pixels and the
// browser repainted, against the plain list of the same rows.
void scrolling(QTextStream& out)
{
    Store store;
    store.listings[QStringLiteral("/map/big")] = entries(QStringLiteral("/map/big"));
    DiskColumns columns(mapWithUnmeasuredFolder(), store.source());
    columns.resize(kWindow);
    columns.show();
    columns.select(columns.root().children.front(), 0);
    settle();
    QListWidget peer;
    for (const DiskNode& node : store.listings.at(QStringLiteral("/map/big"))) {
        peer.addItem(Format::byteText(node.size) + QStringLiteral("  ") + node.name);
    }
    peer.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    peer.resize(kWindow);
    peer.show();
    settle();

    constexpr int steps = 60;
    const auto frames = [](QScrollBar* bar, QWidget& window) {
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
    const Stats ours = frames(columns.column(1)->list()->verticalScrollBar(), columns);
    const Stats plain = frames(peer.verticalScrollBar(), peer);
    out << "scrolling the column of " << kEntries << " entries, " << kRounds << " rounds of " << steps << " frames\n";
    report(out, QStringLiteral("  disk columns, per frame"), ours);
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
        opening(out);
    }
    scrolling(out);
    return 0;
}
