// Cost of one sample in the window's top bar: new readings for every chip and
// a full repaint, against repainting the same bar with unchanged values.
#include "RoundStats.h"
#include "paint/Palette.h"
#include "shared/MonitorReading.h"
#include "ui/monitor/TopStatsBar.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QImage>

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace harborlite;

namespace {

using harborlite::bench::Stats;
using harborlite::bench::stats;

MonitorInputs sampleAt(int tick)
{
    MonitorInputs inputs;
    inputs.snapshot.cpuUsage = 0.3 + 0.2 * std::sin(tick / 5.0);
    inputs.snapshot.memoryUsed = 9'000'000'000 + tick * 1'000'000LL;
    inputs.snapshot.memoryTotal = 16'000'000'000;
    inputs.snapshot.diskFree = 180'000'000'000 - tick;
    inputs.snapshot.diskTotal = 494'000'000'000;
    inputs.snapshot.networkIn = 1'000'000 + (tick % 17) * 100'000;
    for (int i = 0; i < 90; ++i) {
        const double x = (tick + i) / 7.0;
        inputs.cpuSeries.push_back(0.3 + 0.2 * std::sin(x));
        inputs.memorySeries.push_back(0.6 + 0.05 * std::sin(x));
        inputs.storageSeries.push_back(0.63);
        inputs.networkInSeries.push_back(1'500'000 + 500'000 * std::sin(x));
    }
    inputs.networkScale = 2'000'000;
    return inputs;
}

constexpr int kRounds = 9;
constexpr int kSamplesPerRound = 200;

// Milliseconds per call of `body`, one entry per round.
template <typename Body>
std::vector<double> rounds(Body body)
{
    std::vector<double> perCall;
    int call = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int index = 0; index < kSamplesPerRound; ++index) {
            body(++call);
        }
        perCall.push_back(timer.nsecsElapsed() / 1e6 / kSamplesPerRound);
    }
    return perCall;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Symbols::useIconTheme();
    TopStatsBar bar;
    Palette::setOwnAppearance(&bar, Appearance::light);
    bar.resize(900, 64);
    QImage target(bar.size(), QImage::Format_ARGB32_Premultiplied);
    bar.setInputs(sampleAt(0));
    bar.render(&target);

    std::vector<MonitorInputs> samples;
    for (int tick = 0; tick < 64; ++tick) {
        samples.push_back(sampleAt(tick));
    }
    const std::vector<double> sampled = rounds([&](int call) {
        bar.setInputs(samples[static_cast<size_t>(call) % samples.size()]);
        bar.render(&target);
    });
    const std::vector<double> unchanged = rounds([&](int) { bar.render(&target); });
    const Stats sample = stats(sampled);
    const Stats peer = stats(unchanged);
    QTextStream out(stdout);
    out << "top bar, new sample and repaint (ms): min " << sample.min << " median " << sample.median << " max "
        << sample.max << "\n";
    out << "peer, repaint with unchanged values (ms): min " << peer.min << " median " << peer.median << " max "
        << peer.max << "\n";
    out << "ratio (median): " << sample.median / peer.median << "\n";
    return 0;
}
