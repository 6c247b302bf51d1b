#include "ui/shell/RootView.h"

#include "WindowFixture.h"
#include "ui/theme/Motion.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

RootView::Setup quietSetup()
{
    RootView::Setup setup;
    setup.services = {[](const QStringList&) {}, [](const QString&) { return QIcon(); }, {}};
    setup.bannerWait = [](QObject*, std::function<void()>) {};
    return setup;
}

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(QAccessible::Name).trimmed() : QString();
}

// What a screen reader would announce as an unnamed control: a visible button
// with neither text nor name, or one of the painted readouts without a name.
QStringList unnamedControls(QWidget* root)
{
    static const QStringList paintedReadouts = {
        QStringLiteral("harborlite::RingGauge"),   QStringLiteral("harborlite::ProgressRing"),
        QStringLiteral("harborlite::Sparkline"),   QStringLiteral("harborlite::StatTile"),
        QStringLiteral("harborlite::SummaryStat"), QStringLiteral("harborlite::StatusPill"),
    };
    QStringList unnamed;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(root)) {
            continue;
        }
        const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr
            || paintedReadouts.contains(QLatin1String(widget->metaObject()->className()));
        if (control && accessibleName(widget).isEmpty()) {
            unnamed << QStringLiteral("%1 \"%2\"")
                           .arg(QLatin1String(widget->metaObject()->className()), widget->objectName());
        }
    }
    return unnamed;
}

} // namespace

// Every screen, with the update banner and the access card showing: each
// control a user can reach says what it is.
TEST(AccessibleNames, EveryScreensButtonsAndReadoutsAreNamed)
{
    Motion::setReduceMotion(true);
    test::WindowFixture fixture;
    fixture.access->store(false);
    fixture.makeModel();
    RootView root(*fixture.model, quietSetup());
    fixture.makeAvailable();
    root.resize(1180, 780);
    root.show();
    test::waitFor([&] { return !fixture.model->hasFullDiskAccess(); });
    for (Route route : Routes::allCases) {
        SCOPED_TRACE(rawValue(route).toStdString());
        fixture.model->setRoute(route);
        test::WindowFixture::settle();
        EXPECT_EQ(unnamedControls(&root).join(QStringLiteral(", ")).toStdString(), "");
    }
    Motion::setReduceMotion(std::nullopt);
}
