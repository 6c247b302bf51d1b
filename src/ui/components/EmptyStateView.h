#pragma once

#include <QWidget>

#include <functional>
#include <optional>

namespace harborlite {

class GlassCompatButton;
class RoleLabel;

// The centred placeholder of a screen with nothing to list: a large symbol on
// a mint disc, a title, a message at most 340 wide and, when both a title and
// an action are given, a prominent button. Fills its container, padded 40.
class EmptyStateView : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kSymbolSide = 42;
    static constexpr qreal kSymbolPadding = 22;
    static constexpr int kSpacing = 14;
    static constexpr int kMessageWidth = 340;
    static constexpr int kPadding = 40;
    static constexpr int kButtonExtraTop = 4;

    EmptyStateView(const QString& symbol, const QString& title, const QString& message,
                   std::optional<QString> actionTitle = std::nullopt, std::function<void()> action = {},
                   QWidget* parent = nullptr);

    // The button shows only when it has both a title and an action.
    static bool showsButton(const std::optional<QString>& actionTitle, const std::function<void()>& action);

    // The message's width in a view whose content is `available` wide.
    static int messageWidth(int available);

    RoleLabel* titleLabel() const { return title_; }
    RoleLabel* messageLabel() const { return message_; }
    GlassCompatButton* button() const { return button_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitMessage(int available);

    RoleLabel* title_;
    RoleLabel* message_;
    GlassCompatButton* button_ = nullptr;
};

} // namespace harborlite
