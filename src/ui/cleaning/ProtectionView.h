#pragma once

#include "ui/cleaning/ReviewLooks.h"
#include "ui/cleaning/ReviewScreen.h"
#include "ui/components/ActionBarLook.h"

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

class RoleLabel;
class ScanButton;
class ShieldEmblem;
struct ScreenServices;

// The Protection destination: a shield panel that sums up the malware scan
// and carries its button, the category's section once a result exists, and
// the bar that removes what is selected.
class ProtectionView : public ReviewScreen {
    Q_OBJECT

public:
    static constexpr int kMaxWidth = 900;
    static constexpr qreal kPanelRadius = 26;
    static constexpr int kPanelPadding = 26;
    static constexpr int kPanelSpacing = 16;
    static constexpr int kEmblemSide = 130;
    static constexpr int kMessageWidth = 420;

    ProtectionView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent = nullptr);

    ProtectionPresentation presentation() const;

    ScanButton* scanButton() const { return scanButton_; }
    RoleLabel* statusTitle() const { return statusTitle_; }
    RoleLabel* statusMessage() const { return statusMessage_; }
    RoleLabel* progressLine() const { return progressLine_; }
    QWidget* section() const { return section_; }

protected:
    void refresh() override;

private:
    ShieldEmblem* emblem_;
    RoleLabel* statusTitle_;
    RoleLabel* statusMessage_;
    ScanButton* scanButton_;
    RoleLabel* progressLine_;
    QWidget* section_;
};

} // namespace harborlite
