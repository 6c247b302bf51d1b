#include "ui/theme/WindowCanvas.h"

#include "paint/Palette.h"
#include "ui/theme/ApplicationAppearance.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace harborlite {

WindowCanvas::WindowCanvas(AppTheme theme, QWidget* parent)
    : QWidget(parent)
    , theme_(theme)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(0, 0);
    schedule();
}

void WindowCanvas::setTheme(AppTheme theme)
{
    theme_ = theme;
    schedule();
}

void WindowCanvas::schedule()
{
    QPointer<WindowCanvas> self(this);
    const AppTheme theme = theme_;
    QTimer::singleShot(0, this, [self, theme] {
        if (self) {
            style(self, theme);
        }
    });
}

void WindowCanvas::style(QWidget* anchor, AppTheme theme)
{
    if (anchor == nullptr || anchor->parentWidget() == nullptr) {
        return;
    }
    QWidget* window = anchor->window();
    Palette::setOwnAppearance(window, ApplicationAppearance::forcedBy(theme));
    const QColor canvas = Palette::canvasNSColor().resolve(Palette::appearance(window));
    QPalette palette = window->palette();
    if (palette.color(QPalette::Window) != canvas) {
        palette.setColor(QPalette::Window, canvas);
        window->setPalette(palette);
    }
    window->setAutoFillBackground(true);
    window->update();
}

void WindowCanvas::changeEvent(QEvent* event)
{
    // The desktop or the application changed palette: the canvas colour of the
    // appearance now in effect may differ.
    if (event->type() == QEvent::PaletteChange) {
        style(this, theme_);
    }
    QWidget::changeEvent(event);
}

} // namespace harborlite
