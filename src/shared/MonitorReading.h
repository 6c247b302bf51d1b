#pragma once

#include "shared/MonitorKind.h"
#include "shared/PaletteRole.h"
#include "shared/SystemSnapshot.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace harborlite {

// What every live display shows of one monitor.
struct MonitorReading {
    // The full value text (a card's large value).
    QString headline;
    // The short value text (chips, the menu-bar label).
    QString compact;
    QString caption;
    // Fill of the ring or bar, nominally 0...1; only some kinds clamp it.
    double fraction = 0;
    // The sparkline's values, oldest first; empty for kinds without one.
    std::vector<double> series;
    // The value at the top of the sparkline; none when the series holds
    // fractions already.
    std::optional<double> scale;
    PaletteRole tint = PaletteRole::accent;
    // False when the monitor has nothing to show yet.
    bool isAvailable = true;

    bool operator==(const MonitorReading&) const = default;
};

// The model's values a reading is made from, gathered at the moment of the call.
struct MonitorInputs {
    SystemSnapshot snapshot;
    std::vector<double> cpuSeries;
    std::vector<double> memorySeries;
    std::vector<double> storageSeries;
    std::vector<double> networkInSeries;
    // Bytes per second at the top of the network sparkline, never below 1,000,000.
    double networkScale = 1'000'000;
    // How many processes the latest process sample holds (0 before the first),
    // and its heaviest processor user.
    int processCount = 0;
    QString topProcessName;
    double topProcessCpu = 0;
    // Byte total of every scan result held.
    qint64 reclaimable = 0;
    std::optional<QDateTime> lastSmartScan;
};

// The reading of one monitor. Relative dates are measured from platform::now().
MonitorReading monitorReading(MonitorKind kind, const MonitorInputs& inputs);

namespace MonitorTexts {

// Format::bytes of a positive count; "0 KB" otherwise.
QString byteText(qint64 count);

} // namespace MonitorTexts

} // namespace harborlite
