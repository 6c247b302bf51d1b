#pragma once

#include <QString>

namespace harborlite {

// One program started at login or at boot.
struct StartupItem {
    QString label;
    QString programDescription;
    // The item's file; also its identity.
    QString url;
    bool isEnabled = true;

    QString id() const { return url; }

    bool operator==(const StartupItem&) const = default;
};

} // namespace harborlite
