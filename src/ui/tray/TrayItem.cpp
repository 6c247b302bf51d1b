#include "ui/tray/TrayItem.h"

#include "model/AppModel.h"
#include "ui/monitor/ModelMonitorInputs.h"
#include "ui/shell/BrandIcon.h"
#include "ui/tray/MenuBarLabel.h"
#include "ui/tray/MenuBarPanel.h"

#include <QCursor>
#include <QSystemTrayIcon>

#include <utility>

namespace harborlite {

TrayItem::Availability TrayItem::systemTray()
{
    return [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
}

TrayItem::TrayItem(AppModel& model, Availability available, QList<MaintenanceTask> tasks, QObject* parent)
    : QObject(parent)
    , model_(model)
    , available_(std::move(available))
    , tasks_(std::move(tasks))
{
    trayCheck_.setInterval(kTrayCheckMilliseconds);
    trayCheck_.setTimerType(Qt::VeryCoarseTimer);
    connect(&trayCheck_, &QTimer::timeout, this, &TrayItem::refresh);
    const auto requestTip = [this] {
        if (isInserted()) {
            tipRefresher_.request();
        }
    };
    connect(&model_.settings(), &Observable::didChange, this, [this, requestTip] {
        refresh();
        requestTip();
    });
    watchMonitorInputs(model_, this, requestTip);
    refresh();
}

TrayItem::~TrayItem()
{
    unwatchMonitorInputs(model_, this);
    disconnect(&model_.settings(), nullptr, this, nullptr);
    delete panel_;
    delete closing_;
}

MenuBarPanel* TrayItem::panel() const
{
    return panel_;
}

bool TrayItem::isPanelOpen() const
{
    return panel_ && panel_->isVisible();
}

QString TrayItem::toolTip() const
{
    const QString summary =
        MenuBarLabel::summary(MenuBarLabel::kinds(model_.settings().menuBar()), monitorInputs(model_));
    return summary.isEmpty() ? QStringLiteral("Harborlite") : summary;
}

void TrayItem::refresh()
{
    const bool wanted = model_.settings().showMenuBarMonitor();
    // The tray is looked for while the preference asks for the item.
    if (wanted != trayCheck_.isActive()) {
        wanted ? trayCheck_.start() : trayCheck_.stop();
    }
    const bool present = wanted && available_ && available_();
    if (!wanted && panel_) {
        panel_->close();
    }
    if (present == isInserted()) {
        return;
    }
    if (!present) {
        icon_.reset();
        emit insertedChanged();
        return;
    }
    icon_ = std::make_unique<QSystemTrayIcon>(brandIcon());
    icon_->setToolTip(toolTip());
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) {
            togglePanel();
        }
    });
    icon_->show();
    emit insertedChanged();
}

void TrayItem::togglePanel()
{
    if (isPanelOpen()) {
        panel_->close();
        return;
    }
    if (!panel_) {
        panel_ = new MenuBarPanel(model_, tasks_);
        connect(panel_, &MenuBarPanel::openWindowRequested, this, &TrayItem::openWindowRequested);
        connect(panel_, &MenuBarPanel::quitRequested, this, &TrayItem::quitRequested);
        connect(panel_, &MenuBarPanel::closed, this, [this] {
            // The panel starts anew at each opening.
            if (panel_) {
                delete closing_;
                closing_ = panel_;
                closing_->deleteLater();
                panel_ = nullptr;
            }
            emit panelClosed();
        });
    }
    panel_->open({icon_ ? icon_->geometry() : QRect(), QCursor::pos()});
}

void TrayItem::updateToolTip()
{
    if (!icon_) {
        return;
    }
    const QString tip = toolTip();
    if (tip != icon_->toolTip()) {
        icon_->setToolTip(tip);
    }
}

} // namespace harborlite
