#pragma once

#include "ui/components/GlassPanel.h"

#include <QString>

#include <functional>

namespace harborlite {

class AppearanceRow;
class MonitorSettings;
class PlacementChipRow;
class PopUpPicker;
class SwitchToggle;
class UpdateChecker;
class UpdatesRow;

// The Widgets screen's settings card: the menu-bar monitor switch beside the
// refresh interval, then between dividers the appearance row, the updates row
// and the chip rows of the window top bar and the menu bar. Every control
// writes its preference at once; refresh() shows what is stored.
class MonitorControls : public GlassPanel {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 22;
    static constexpr int kPickerWidth = 128;

    // "1 second" below 2, else the whole number and " seconds".
    static QString intervalTitle(double seconds);

    // `openUpdateSheet` presents the update sheet.
    MonitorControls(MonitorSettings& settings, UpdateChecker& updates, std::function<void()> openUpdateSheet,
                    QWidget* parent = nullptr);

    SwitchToggle* menuBarSwitch() const { return menuBarSwitch_; }
    PopUpPicker* intervalPicker() const { return picker_; }
    AppearanceRow* appearanceRow() const { return appearance_; }
    UpdatesRow* updatesRow() const { return updates_; }
    PlacementChipRow* topBarRow() const { return topBar_; }
    PlacementChipRow* menuBarRow() const { return menuBar_; }

    void refresh();

private:
    MonitorSettings& settings_;
    SwitchToggle* menuBarSwitch_;
    PopUpPicker* picker_;
    AppearanceRow* appearance_;
    UpdatesRow* updates_;
    PlacementChipRow* topBar_;
    PlacementChipRow* menuBar_;
};

} // namespace harborlite
