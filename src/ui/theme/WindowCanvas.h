#pragma once

#include "paint/AppTheme.h"

#include <QWidget>

namespace harborlite {

// An invisible child that styles the window it lives in: after every update it
// sets the window's appearance from the theme (none for system, so the window
// follows the application and the desktop) and paints the window's own
// background with the canvas colour of the appearance in effect. A canvas
// that is not inside a window does nothing, and nothing retries it until the
// next update.
class WindowCanvas : public QWidget {
    Q_OBJECT

public:
    explicit WindowCanvas(AppTheme theme, QWidget* parent = nullptr);

    AppTheme theme() const { return theme_; }
    // Stores the theme and schedules the styling, whether or not it changed.
    void setTheme(AppTheme theme);

    // The styling step, run at once for `anchor`'s window.
    static void style(QWidget* anchor, AppTheme theme);

protected:
    void changeEvent(QEvent* event) override;

private:
    void schedule();

    AppTheme theme_;
};

} // namespace harborlite
