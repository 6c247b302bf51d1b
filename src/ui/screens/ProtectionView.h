#pragma once

#include "ui/screens/ReviewLooks.h"

#include <optional>

namespace harborlite {

struct ReviewState;

// What the Protection screen shows for the malware category at one moment.
struct ProtectionPresentation {
    enum class State { scanning, threatsFound, notScanned, clean };

    State state = State::notScanned;
    // Items of the first group titled "Known Threats".
    int threatCount = 0;
    QString statusSymbol;
    QString statusTitle;
    QString statusMessage;
    PaletteRole statusTint = PaletteRole::inkTertiary;
    ScanButtonLook scan;
    // The scan's latest message, only while it runs.
    std::optional<QString> progressLine;
    bool showsSection = false;
    std::optional<ActionBarLook> actionBar;

    bool operator==(const ProtectionPresentation&) const = default;

    static ProtectionPresentation of(const ReviewState& state);
};

} // namespace harborlite
