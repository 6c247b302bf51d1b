#pragma once

#include "model/AppModel.h"
#include "shared/PaletteRole.h"
#include "ui/theme/SoftShadow.h"

#include <QWidget>

#include <functional>

class QHBoxLayout;

namespace harborlite {

class PlainSymbolButton;
class RoleLabel;
class SymbolView;

// The short-lived notice over the window: an icon, a title, a message and a
// close button on a tinted glass card at most 460 wide. It calls its dismiss
// action six seconds after it first came on screen; handing it another banner
// meanwhile changes what it shows, not when it goes.
class BannerView : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kMaximumWidth = 460;
    static constexpr qreal kCornerRadius = 16;
    static constexpr int kLifetimeMilliseconds = 6000;

    // Calls `elapsed` once the view's time is up, unless `context` is gone.
    using Wait = std::function<void(QObject* context, std::function<void()> elapsed)>;
    // The real six-second wait.
    static Wait sixSeconds();

    struct Look {
        QString symbol;
        PaletteRole tint;

        bool operator==(const Look&) const = default;
    };
    static Look look(bool isError);

    // The wait starts when the view is first shown. When the view goes before
    // its time is up, it dismisses all the same.
    BannerView(const AppModel::Banner& banner, std::function<void()> dismiss, Wait wait = sixSeconds(),
               QWidget* parent = nullptr);
    ~BannerView() override;

    const AppModel::Banner& banner() const { return banner_; }
    void setBanner(const AppModel::Banner& banner);
    // From now on the view dismisses nothing: its banner is gone already and
    // the next one belongs to another view.
    void retire() { dismissed_ = true; }

    // Where the card's surface starts below the view's top edge.
    int surfaceTop() const;

    // The width the content asks for, within the limit, with the shadow's room.
    QSize preferredSize() const;

    RoleLabel* titleLabel() const { return title_; }
    RoleLabel* messageLabel() const { return message_; }
    SymbolView* icon() const { return icon_; }
    PlainSymbolButton* closeButton() const { return close_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fire();
    void rebuildIcon();

    AppModel::Banner banner_;
    std::function<void()> dismiss_;
    Wait wait_;
    bool waitStarted_ = false;
    bool dismissed_ = false;
    SoftShadow shadow_;
    QHBoxLayout* row_;
    SymbolView* icon_ = nullptr;
    RoleLabel* title_;
    RoleLabel* message_;
    PlainSymbolButton* close_;
};

} // namespace harborlite
