#pragma once

#include "paint/AppTheme.h"

#include <QString>
#include <QWidget>

#include <array>

namespace harborlite {

class CapsuleChip;
class MonitorSettings;
class RoleLabel;

// The appearance choice: "Appearance" with the chosen theme's description,
// then a chip for each theme (system, light, dark), each chip's own
// description as its tool tip. Exactly the chosen theme's chip is selected; a
// click stores that theme, which the application applies at once.
class AppearanceRow : public QWidget {
    Q_OBJECT

public:
    struct Choice {
        AppTheme theme;
        QString title;
        QString symbol;
        QString description;
    };

    static Choice choice(AppTheme theme);

    explicit AppearanceRow(MonitorSettings& settings, QWidget* parent = nullptr);

    const std::array<CapsuleChip*, 3>& chips() const { return chips_; }
    RoleLabel* descriptionLabel() const { return description_; }

    // Shows the stored theme.
    void refresh();

private:
    MonitorSettings& settings_;
    RoleLabel* description_;
    std::array<CapsuleChip*, 3> chips_{};
};

} // namespace harborlite
