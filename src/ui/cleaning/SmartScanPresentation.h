#pragma once

#include "engine/models/CategoryResult.h"
#include "engine/models/RemovalMode.h"
#include "engine/models/ScanCategory.h"
#include "model/Route.h"
#include "shared/PaletteRole.h"
#include "shared/SystemSnapshot.h"
#include "ui/components/ActionBarLook.h"
#include "ui/components/StatTileLook.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <map>
#include <optional>

namespace harborlite {

class ScanSession;

// What the Smart Scan screen reads of the scan session, copied so the texts
// and flags can be worked out without a running session.
struct SmartScanInputs {
    std::map<ScanCategory, CategoryResult> results;
    bool isSmartScanning = false;
    double smartScanProgress = 0;
    QString smartScanMessage;
    std::optional<QDateTime> lastSmartScan;
    RemovalMode cleanupMode = RemovalMode::trash;
    bool isCleaning = false;

    static SmartScanInputs of(const ScanSession& scans);
};

// The centre of the dial: a percentage while scanning, the total to reclaim
// once something was scanned, else the brand mark and an invitation.
struct DialCenter {
    enum class Kind { progress, total, ready };

    Kind kind = Kind::ready;
    // Empty for `ready`, which shows the brand mark instead.
    QString firstLine;
    QString secondLine;
    PaletteRole secondLineRole = PaletteRole::inkSecondary;

    bool operator==(const DialCenter&) const = default;
};

// The dial's main button; whether it stops or starts is read again from the
// model when it is pressed.
struct PrimaryButtonLook {
    QString title;
    PaletteRole tint = PaletteRole::accent;

    bool operator==(const PrimaryButtonLook&) const = default;
};

struct SmartScanPresentation {
    bool hasResults = false;
    qint64 selectedTotal = 0;
    qint64 totalToReclaim = 0;
    // Items already in a Trash are selected; they are deleted for good.
    bool selectsTrashedItems = false;
    // The model's progress while scanning or with results; 0 at rest.
    double ringProgress = 0;
    bool ringIsIndeterminate = false;
    // The ring shows that work goes on (its glint) for as long as the scan
    // runs, however long a step reports nothing.
    bool ringShowsWork = false;
    DialCenter center;
    PrimaryButtonLook primary;
    bool showsReviewDetails = false;
    // "Last scan …", absent while scanning or before the first smart scan.
    std::optional<QString> lastScanLine;
    // The grid of category cards and the clean bar show together.
    bool showsSummary = false;
    ActionBarLook bar;
};

namespace SmartScan {

// The ring shows no fixed arc until the progress reaches this.
inline constexpr double kIndeterminateBelow = 0.005;

SmartScanPresentation present(const SmartScanInputs& inputs);

// The line under the clean bar's title for a removal mode.
QString cleanDetail(RemovalMode mode);

// Processor, memory and storage, left to right.
std::array<StatTileLook, 3> systemStrip(const SystemSnapshot& snapshot);

// The screen that reviews a category's findings.
Route cardRoute(ScanCategory category);

} // namespace SmartScan

} // namespace harborlite
