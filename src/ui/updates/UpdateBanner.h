#pragma once

#include "quorvanekit/AppUpdate.h"

#include <QWidget>

namespace harborlite {

class AppModel;
class GlassCompatButton;
class PlainSymbolButton;
class RoleLabel;

// The one-line card announcing a newer release at the top of the detail
// column: the update tile, the title and the first note, "What's New" (opens
// the update sheet), "Download" and a close button that puts the release away
// until the next check.
class UpdateBanner : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 18;

    UpdateBanner(const AppUpdate& update, AppModel& model, QWidget* parent = nullptr);

    static QString title(const AppUpdate& update);
    static QString message(const AppUpdate& update);

    const AppUpdate& update() const { return update_; }
    // Shows another release in place.
    void setUpdate(const AppUpdate& update);

    RoleLabel* titleLabel() const { return title_; }
    RoleLabel* messageLabel() const { return message_; }
    GlassCompatButton* whatsNewButton() const { return whatsNew_; }
    GlassCompatButton* downloadButton() const { return download_; }
    PlainSymbolButton* closeButton() const { return close_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AppUpdate update_;
    AppModel& model_;
    RoleLabel* title_;
    RoleLabel* message_;
    GlassCompatButton* whatsNew_;
    GlassCompatButton* download_;
    PlainSymbolButton* close_;
};

} // namespace harborlite
