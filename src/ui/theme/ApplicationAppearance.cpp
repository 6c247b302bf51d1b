#include "ui/theme/ApplicationAppearance.h"

#include "ui/theme/TypeStyle.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace harborlite::ApplicationAppearance {

namespace {

// Keeps the system theme in step with the desktop: when the desktop's theme
// changes, the palette is made again for its new appearance. Lives as a child
// of the application, found by its name.
class DesktopFollower : public QObject {
public:
    explicit DesktopFollower(QObject* application)
        : QObject(application)
    {
        setObjectName(QStringLiteral("harborliteDesktopFollower"));
        application->installEventFilter(this);
    }

    void follow(AppTheme theme) { theme_ = theme; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Every window hears of a theme change; one new palette serves them all.
        if (event->type() == QEvent::ThemeChange && theme_ == AppTheme::system && !pending_) {
            pending_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    pending_ = false;
                    if (theme_ == AppTheme::system) {
                        apply(AppTheme::system);
                    }
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    AppTheme theme_ = AppTheme::system;
    bool pending_ = false;
};

DesktopFollower& follower()
{
    QCoreApplication* application = QCoreApplication::instance();
    auto* found = application->findChild<DesktopFollower*>(QStringLiteral("harborliteDesktopFollower"),
                                                           Qt::FindDirectChildrenOnly);
    return found != nullptr ? *found : *new DesktopFollower(application);
}

} // namespace

std::optional<Appearance> forcedBy(AppTheme theme)
{
    switch (theme) {
    case AppTheme::light:
        return Appearance::light;
    case AppTheme::dark:
        return Appearance::dark;
    case AppTheme::system:
        break;
    }
    return std::nullopt;
}

QPalette qtPalette(Appearance appearance)
{
    const auto role = [appearance](const AdaptiveColor& color) { return color.resolve(appearance); };
    QPalette made;
    made.setColor(QPalette::Window, role(Palette::canvas()));
    made.setColor(QPalette::WindowText, role(Palette::ink()));
    made.setColor(QPalette::Base, role(Palette::card()));
    made.setColor(QPalette::AlternateBase, role(Palette::canvas()));
    made.setColor(QPalette::Text, role(Palette::ink()));
    made.setColor(QPalette::Button, role(Palette::card()));
    made.setColor(QPalette::ButtonText, role(Palette::ink()));
    made.setColor(QPalette::BrightText, Qt::white);
    made.setColor(QPalette::ToolTipBase, role(Palette::card()));
    made.setColor(QPalette::ToolTipText, role(Palette::ink()));
    made.setColor(QPalette::PlaceholderText, role(Palette::inkTertiary()));
    made.setColor(QPalette::Highlight, role(Palette::accent()));
    made.setColor(QPalette::HighlightedText, Qt::white);
    made.setColor(QPalette::Link, role(Palette::accentDeep()));
    made.setColor(QPalette::LinkVisited, role(Palette::accentDeep()));
    made.setColor(QPalette::Light, role(Palette::card()));
    made.setColor(QPalette::Midlight, role(Palette::hairline()));
    made.setColor(QPalette::Mid, role(Palette::hairline()));
    made.setColor(QPalette::Dark, role(Palette::inkTertiary()));
    made.setColor(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole text : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        made.setColor(QPalette::Disabled, text, role(Palette::inkTertiary()));
    }
    return made;
}

QPalette paletteFor(AppTheme theme, Appearance desktop)
{
    return qtPalette(forcedBy(theme).value_or(desktop));
}

Appearance desktopAppearance()
{
    const QPalette kept = QGuiApplication::palette();
    // An empty palette leaves every role to the desktop's theme.
    QGuiApplication::setPalette(QPalette());
    const Appearance desktop = Palette::systemAppearance();
    QGuiApplication::setPalette(kept);
    return desktop;
}

void apply(AppTheme theme)
{
    const std::optional<Appearance> forced = forcedBy(theme);
    Palette::setApplicationAppearance(forced);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }
    const QFont type = TypeStyle::font(13, QFont::Normal);
    if (QApplication::font() != type) {
        QApplication::setFont(type);
    }
    follower().follow(theme);
    QApplication::setPalette(paletteFor(theme, forced ? *forced : desktopAppearance()));
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->update();
    }
}

} // namespace harborlite::ApplicationAppearance
