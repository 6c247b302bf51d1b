#pragma once

#include "model/MonitorSettings.h"
#include "shared/MonitorKind.h"
#include "ui/components/InnerCard.h"

#include <optional>

namespace harborlite {

class GlassCompatButton;
class SwitchToggle;

// One monitor in the dashboard customiser, on an inner card highlighted while
// the monitor is on the dashboard: its symbol in the kind's tint, the title
// over a one-line caption, the up and down buttons while it is on the
// dashboard, and a switch. The row holds no settings: it reports the user's
// choice, and its owner shows the outcome with setState().
class CustomizerRow : public InnerCard {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 11;

    // What the row shows of the dashboard: whether the kind is on it, its
    // first place there, and which way it can move.
    struct State {
        bool isOn = false;
        std::optional<int> index;
        bool canMoveUp = false;
        bool canMoveDown = false;

        bool operator==(const State&) const = default;
    };

    static State state(MonitorKind kind, const MonitorSettings::Kinds& dashboard);
    // The row's own line about the monitor.
    static QString caption(MonitorKind kind);

    explicit CustomizerRow(MonitorKind kind, QWidget* parent = nullptr);

    MonitorKind kind() const { return kind_; }
    SwitchToggle* toggle() const { return switch_; }
    GlassCompatButton* upButton() const { return up_; }
    GlassCompatButton* downButton() const { return down_; }

    void setState(const State& state);

signals:
    // The switch was flipped, whichever way.
    void toggleRequested(harborlite::MonitorKind kind);
    // Up (-1) or down (+1).
    void moveRequested(harborlite::MonitorKind kind, int offset);

private:
    MonitorKind kind_;
    State state_;
    QWidget* reorder_;
    GlassCompatButton* up_;
    GlassCompatButton* down_;
    SwitchToggle* switch_;
};

} // namespace harborlite
