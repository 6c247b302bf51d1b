// How long the GUI thread is kept from its events while the disk map screen
// builds a map of a real folder tree ("/" by default), through the real
// application model, engine and screen, shown at 1000 x 680. A 5 ms timer
// beats on the GUI thread; the longest gap between two beats is the worst
// stall a user would feel. Each round builds the map (and keeps beating for
// 300 ms after the map is shown, so handing the tree to the browser counts),
// then beats as long again with nothing to do: the machine's own noise, the
// peer in the same run. Prints both sides' longest gaps (min/median/max over
// the rounds) and the beats over 50 ms.
//
//   disk_map_screen_stall [folder=/] [rounds=5]
#include "RoundStats.h"
#include "model/AppModel.h"
#include "model/DiskMap.h"
#include "platform/OpenFileLimit.h"
#include "shared/MemoryDefaults.h"
#include "ui/diskmap/RuvozEzazView.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace harborlite;
using harborlite::bench::stats;

namespace {

constexpr int kBeatMilliseconds = 5;
constexpr double kStallMilliseconds = 50;
constexpr int kAfterMilliseconds = 300;

struct Beats {
    double longest = 0;
    int stalls = 0;
    int count = 0;
};

// Beats on the GUI thread until `done` answers true, then for `after` ms more.
Beats beat(const std::function<bool()>& done, int after)
{
    Beats beats;
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 doneAt = -1;
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(kBeatMilliseconds);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const double gap = double(now - last) / 1e6;
        last = now;
        beats.longest = std::max(beats.longest, gap);
        beats.stalls += gap > kStallMilliseconds ? 1 : 0;
        ++beats.count;
        if (doneAt < 0 && done()) {
            doneAt = now;
        }
        if (doneAt >= 0 && double(now - doneAt) / 1e6 >= after) {
            loop.quit();
        }
    });
    timer.start();
    loop.exec();
    return beats;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    platform::raiseOpenFileLimit();
    Symbols::useIconTheme();
    const QStringList arguments = QCoreApplication::arguments();
    const QString folder = arguments.size() > 1 ? arguments[1] : QStringLiteral("/");
    const int rounds = arguments.size() > 2 ? std::max(1, arguments[2].toInt()) : 5;

    MemoryDefaults defaults;
    AppModel::Setup setup;
    setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
    AppModel model(defaults, std::move(setup));
    RuvozEzazView view(model.diskMap(), model.scanSession(), model.systemTools(), ScreenServices{});
    view.resize(1000, 680);
    view.show();
    QCoreApplication::processEvents();

    std::printf("disk map screen on %s, %d rounds, beat every %d ms\n", qPrintable(folder), rounds, kBeatMilliseconds);
    std::vector<double> building;
    std::vector<double> idle;
    int buildStalls = 0;
    int idleStalls = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer took;
        took.start();
        view.select(folder);
        const Beats during = beat(
            [&] {
                return !model.diskMap().isBuildingTree() && view.state() == RuvozEzazPresentation::MainState::mapped;
            },
            kAfterMilliseconds);
        const qint64 elapsed = took.elapsed();
        QElapsedTimer quiet;
        quiet.start();
        const Beats still = beat([&] { return quiet.elapsed() >= elapsed - kAfterMilliseconds; }, kAfterMilliseconds);
        building.push_back(during.longest);
        idle.push_back(still.longest);
        buildStalls += during.stalls;
        idleStalls += still.stalls;
        std::printf("round %d: %.2f s, %d beats, longest gap %.1f ms (%d over 50 ms); idle: longest %.1f ms (%d over "
                    "50 ms)\n",
                    round + 1, double(elapsed) / 1000.0, during.count, during.longest, during.stalls, still.longest,
                    still.stalls);
    }
    const auto b = stats(building);
    const auto i = stats(idle);
    std::printf("longest gap while building (ms): min %.1f median %.1f max %.1f; beats over 50 ms: %d\n", b.min,
                b.median, b.max, buildStalls);
    std::printf("longest gap idle (ms):           min %.1f median %.1f max %.1f; beats over 50 ms: %d\n", i.min,
                i.median, i.max, idleStalls);
    std::printf("building / idle, medians: %.2fx\n", i.median > 0 ? b.median / i.median : 0.0);
    return 0;
}
