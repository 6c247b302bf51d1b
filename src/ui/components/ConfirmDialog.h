#pragma once

#include <QDialog>

namespace harborlite {

class GlassCompatButton;
class RoleLabel;

// A confirmation before something that cannot be undone: a title, a message
// and two buttons in this order, the destructive action (tinted danger) and
// Cancel. Either button closes the dialog; only the destructive one emits
// `confirmed`. Escape cancels; Return does nothing, so the destructive action
// is never one key press away. Present it as a sheet of its window
// (`SheetOverlay::present`) or with open(); neither blocks the caller.
class ConfirmDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kWidth = 380;
    static constexpr int kPadding = 20;
    static constexpr int kSpacing = 10;

    ConfirmDialog(const QString& title, const QString& message, const QString& destructiveTitle,
                  const QString& cancelTitle, QWidget* parent = nullptr);

    RoleLabel* titleLabel() const { return title_; }
    RoleLabel* messageLabel() const { return message_; }
    GlassCompatButton* destructiveButton() const { return destructive_; }
    GlassCompatButton* cancelButton() const { return cancel_; }

signals:
    void confirmed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    RoleLabel* title_;
    RoleLabel* message_;
    GlassCompatButton* destructive_;
    GlassCompatButton* cancel_;
};

} // namespace harborlite
