#pragma once

#include "shared/PaletteRole.h"

#include <QString>

#include <optional>

namespace harborlite {

// What the parts shared by the cleaning screens show at one moment; each
// screen works these out from the model and its widgets only apply them.

// The screen's one scan button: its title and tint, and whether a press stops
// the scans instead of starting them (decided again from the model on press).
struct ScanButtonLook {
    QString title;
    PaletteRole tint = PaletteRole::accent;
    bool isBusy = false;

    bool operator==(const ScanButtonLook&) const = default;
};

// The notice under a screen's header: a symbol in a colour and a sentence.
struct NoticeText {
    QString symbol;
    PaletteRole tint = PaletteRole::info;
    QString text;
};

// The placeholder a screen shows before its first scan; its button scans.
struct EmptyStateText {
    QString symbol;
    QString title;
    QString message;
    QString actionTitle;
    // 0 lets the placeholder take only the height it needs.
    int minimumHeight = 0;
};

// The title of the scan button: "Stop" in the danger tint while busy, else
// the screen's own title in the accent tint.
ScanButtonLook scanButtonLook(bool isBusy, const QString& scanTitle);

} // namespace harborlite
