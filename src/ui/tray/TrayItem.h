#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace harborlite {

class AppModel;

// The monitor's place in the desktop's system tray, present while the
// "show in menu bar" preference is on. Activating it asks for the main window.
// Where the desktop has no tray nothing is shown, and the preference is left
// as the user set it.
class TrayItem : public QObject {
    Q_OBJECT

public:
    // Whether the desktop offers a system tray right now.
    using Availability = std::function<bool()>;
    static Availability systemTray();

    explicit TrayItem(AppModel& model, Availability available = systemTray(), QObject* parent = nullptr);
    ~TrayItem() override;

    bool isInserted() const { return icon_ != nullptr; }
    QSystemTrayIcon* icon() const { return icon_.get(); }

    // Inserts or removes the item to match the preference.
    void refresh();

signals:
    void openWindowRequested();

private:
    AppModel& model_;
    Availability available_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

} // namespace harborlite
