#include "ui/tray/TrayItem.h"

#include "ui/shell/BrandIcon.h"
#include "model/AppModel.h"

#include <QSystemTrayIcon>

namespace harborlite {

TrayItem::Availability TrayItem::systemTray()
{
    return [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
}

TrayItem::TrayItem(AppModel& model, Availability available, QObject* parent)
    : QObject(parent)
    , model_(model)
    , available_(std::move(available))
{
    connect(&model_.settings(), &Observable::didChange, this, &TrayItem::refresh);
    refresh();
}

TrayItem::~TrayItem() = default;

void TrayItem::refresh()
{
    const bool wanted = model_.settings().showMenuBarMonitor() && available_ && available_();
    if (wanted == isInserted()) {
        return;
    }
    if (!wanted) {
        icon_.reset();
        return;
    }
    icon_ = std::make_unique<QSystemTrayIcon>(brandIcon());
    icon_->setToolTip(QStringLiteral("Harborlite"));
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
            emit openWindowRequested();
        }
    });
    icon_->show();
}

} // namespace harborlite
