#pragma once

#include "engine/models/CleanupReport.h"
#include "engine/models/InstalledApp.h"
#include "engine/models/UninstallPlan.h"
#include "shared/PaletteRole.h"

#include <QList>
#include <QString>

#include <optional>

// What the uninstall pane shows for the selected application, as plain values.
namespace harborlite::UninstallPresentation {

struct Pill {
    QString text;
    PaletteRole tint;
    std::optional<QString> symbol;

    bool operator==(const Pill&) const = default;
};

struct Header {
    QString name;
    // "Version <v> · <bundle id>".
    QString detail;
    // The size, then "System-wide", then "Protected" when they apply.
    QList<Pill> pills;
};

Header header(const InstalledApp& app, bool isProtected);

// What stands between the header and the bar.
enum class Middle { planning, cards, nothing };
Middle middle(bool isPlanning, bool hasPlan);

struct Bar {
    QString title;
    QString detail;
    bool isEnabled;
    bool isBusy;
};

// The application's size plus the selected leftovers and the selected
// installed system-wide items; sums saturate instead of wrapping.
qint64 removalTotal(const UninstallPlan& plan);
qsizetype selectedSupportCount(const UninstallPlan& plan);
qint64 total(const QList<ScanItem>& items);

Bar bar(const UninstallPlan& plan, bool isProtected, bool isRemoving);

// What the leftovers card says when the plan lists none: a bundle keeps
// everything inside it; a package's application gets no guessed leftovers.
QString noLeftoversText(const InstalledApp& app);

// "Removing these also forgets <r> installer receipt(s), which needs an
// administrator password."; none without receipts.
std::optional<QString> receiptLine(qsizetype receipts);

struct Banner {
    QString title;
    QString message;
    bool isError;

    bool operator==(const Banner&) const = default;
};

// "<name> removed" or "Removed with skips", "<bytes> reclaimed from <n> item(s)."
// and, with failures, " <k> item(s) were protected.".
Banner banner(const QString& appName, const CleanupReport& report);

} // namespace harborlite::UninstallPresentation
