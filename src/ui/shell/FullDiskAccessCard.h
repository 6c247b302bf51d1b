#pragma once

#include "ui/theme/SoftShadow.h"

#include <QStringList>
#include <QWidget>

#include <functional>

namespace harborlite {

class GlassCompatButton;
class RoleLabel;

// The warning card shown above the screen while the application cannot read
// every folder it scans: a shield, a title, one sentence, and buttons to open
// the system's privacy settings, show the application in the file manager and
// probe again. It never probes or hides itself; its owner does.
class FullDiskAccessCard : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 20;

    struct Desktop {
        // Opens the settings where access is granted (the desktop's own
        // settings on Linux); the outcome is not reported. Empty when nothing
        // can open them: the card then leaves out "Open System Settings".
        std::function<void()> openSettings;
        // Shows the files selected in the file manager.
        std::function<void(const QStringList&)> reveal;
    };

    FullDiskAccessCard(std::function<void()> recheck, Desktop desktop, QWidget* parent = nullptr);

    // The room around the card's surface that holds its shadow.
    QMargins shadowMargins() const;

    RoleLabel* titleLabel() const { return title_; }
    RoleLabel* explanationLabel() const { return explanation_; }
    GlassCompatButton* openSettingsButton() const { return openSettings_; }
    GlassCompatButton* revealButton() const { return reveal_; }
    GlassCompatButton* checkAgainButton() const { return checkAgain_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> recheck_;
    Desktop desktop_;
    SoftShadow shadow_;
    RoleLabel* title_;
    RoleLabel* explanation_;
    GlassCompatButton* openSettings_;
    GlassCompatButton* reveal_;
    GlassCompatButton* checkAgain_;
};

} // namespace harborlite
