#pragma once

#include "ui/theme/SoftShadow.h"

#include <QPointer>
#include <QWidget>

class QDialog;

namespace harborlite {

// Shows a dialog as a sheet of the window that holds `host`: inside that
// window, not as a window of its own (no title bar repeating its title),
// against the window's top edge and centred, over a veil that dims the whole
// window and takes every click meant for what lies behind. The dialog keeps
// its own keys (Escape cancels, Return is its default). The overlay follows
// the window's size and goes when the dialog closes; the dialog stays its
// creator's to delete.
class SheetOverlay : public QWidget {
    Q_OBJECT

public:
    // The veil's opacity over the window, light and dark.
    static constexpr qreal kLightDim = 0.22;
    static constexpr qreal kDarkDim = 0.45;

    // Presents `dialog` as a sheet of `host`'s window and gives it the focus;
    // returns the overlay, which deletes itself when the dialog closes.
    static SheetOverlay* present(QDialog* dialog, QWidget* host);

    // The overlay showing `dialog`, if any.
    static SheetOverlay* of(const QDialog* dialog);

    QDialog* dialog() const { return dialog_; }

    ~SheetOverlay() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    SheetOverlay(QDialog* dialog, QWidget* window);
    void place();

    QPointer<QDialog> dialog_;
    // Who made the dialog: it gets it back, hidden, when the sheet goes.
    QPointer<QWidget> owner_;
    QWidget* window_;
    // The sheet's own shadow on the veil, so it stands off the dimmed window.
    SoftShadow shadow_{22, 0.25};
};

} // namespace harborlite
