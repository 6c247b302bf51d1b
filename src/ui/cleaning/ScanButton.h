#pragma once

#include "ui/components/GlassCompatButton.h"

#include "engine/models/ScanCategory.h"

#include <QCoreApplication>
#include <QList>

#include <functional>

namespace harborlite {

class ScanSession;

// The prominent scan button of a cleaning screen: "Stop" tinted danger while
// the screen is busy, the screen's own title tinted accent otherwise. A press
// asks `isBusy` again at that moment: busy stops (by default every scan of the
// session), else it starts the screen's scans. Follows the session by itself.
class ScanButton : public GlassCompatButton {
    Q_OBJECT

public:
    struct Behaviour {
        std::function<bool()> isBusy;
        // The title while not busy, asked at every refresh.
        std::function<QString()> title;
        std::function<void()> start;
        // Defaults to ScanSession::cancelScan().
        std::function<void()> stop;
        QString stopTitle = QCoreApplication::translate("ScanButton", "Stop");
    };

    // Busy while any of `categories` runs; starts a scan of each, in order,
    // without waiting for the one before.
    static Behaviour scanning(ScanSession& scans, QList<ScanCategory> categories, std::function<QString()> title);

    ScanButton(ScanSession& scans, Behaviour behaviour, QWidget* parent = nullptr);

    // Asks the behaviour again for busy state and title.
    void refresh();
    bool isBusy() const { return busy_; }

private:
    void press();

    ScanSession& scans_;
    Behaviour behaviour_;
    bool busy_ = false;
};

} // namespace harborlite
