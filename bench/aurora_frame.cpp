// Cost of one drifting frame of the aurora backdrop at the main window's
// default size (compose at the drift of that moment, then copy to the window),
// against the named peer: the copy alone, which is what a repaint at rest costs.
// The share of one core at the drift's frame rate is printed.
#include "RoundStats.h"
#include "ui/components/AuroraBackground.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace harborlite;

namespace {

using harborlite::bench::Stats;
using harborlite::bench::stats;

constexpr int kRounds = 7;
constexpr int kFramesPerRound = 40;
const QSize kWindow(1180, 780);

template <typename Frame>
std::vector<double> rounds(Frame frame)
{
    std::vector<double> perFrame;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int index = 0; index < kFramesPerRound; ++index) {
            frame(round * kFramesPerRound + index);
        }
        perFrame.push_back(timer.nsecsElapsed() / 1e6 / kFramesPerRound);
    }
    return perFrame;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AuroraBackground aurora;
    QImage window(kWindow, QImage::Format_ARGB32_Premultiplied);
    const QImage atRest = aurora.compose(kWindow, Appearance::light, 0);

    const std::vector<double> drifting = rounds([&](int frame) {
        const qreal drift = AuroraBackground::driftAt(frame * AuroraBackground::kFrameMilliseconds / 1000.0);
        const QImage composed = aurora.compose(kWindow, Appearance::light, drift);
        QPainter painter(&window);
        painter.drawImage(0, 0, composed);
    });
    const std::vector<double> copy = rounds([&](int) {
        QPainter painter(&window);
        painter.drawImage(0, 0, atRest);
    });

    const Stats frame = stats(drifting);
    const Stats peer = stats(copy);
    const double framesPerSecond = 1000.0 / AuroraBackground::kFrameMilliseconds;
    QTextStream out(stdout);
    out << "aurora drifting frame (ms): min " << frame.min << " median " << frame.median << " max " << frame.max
        << "\n";
    out << "peer, copy at rest (ms):     min " << peer.min << " median " << peer.median << " max " << peer.max << "\n";
    out << "ratio (median): " << frame.median / peer.median << "\n";
    out << "share of one core while drifting at " << framesPerSecond
        << " frames/s: " << frame.median * framesPerSecond / 10.0 << " %\n";
    out << "at rest: no frames (the timer stops), so only repaints asked for by the window cost a copy\n";
    return 0;
}
