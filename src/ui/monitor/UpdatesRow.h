#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace harborlite {

class GlassCompatButton;
class RoleLabel;
class SwitchToggle;
class UpdateChecker;

// The update check: "Updates" over the running version and what the daily
// check sends, a "Check automatically" switch and "Check Now", which forgets
// the last manual outcome, opens the update sheet and starts a check without
// waiting for it. When the last manual check failed, its error stands under
// the caption until the next check is asked for.
class UpdatesRow : public QWidget {
    Q_OBJECT

public:
    // "Version 2.1 (57) · checks <host> once a day, sending nothing about you".
    static QString caption(const QString& version, qint64 build, const QString& host);

    // `openSheet` presents the update sheet.
    UpdatesRow(UpdateChecker& updates, std::function<void()> openSheet, QWidget* parent = nullptr);

    RoleLabel* captionLabel() const { return caption_; }
    RoleLabel* failureLabel() const { return failure_; }
    SwitchToggle* automaticSwitch() const { return automatic_; }
    GlassCompatButton* checkNowButton() const { return checkNow_; }

    // Shows the stored preference and the last manual outcome.
    void refresh();

private:
    void checkNow();

    UpdateChecker& updates_;
    std::function<void()> openSheet_;
    RoleLabel* caption_;
    RoleLabel* failure_;
    SwitchToggle* automatic_;
    GlassCompatButton* checkNow_;
};

} // namespace harborlite
