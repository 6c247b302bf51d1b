#pragma once

#include "ui/components/GlassCompatButton.h"

#include "engine/models/ScanCategory.h"

#include <QList>

#include <functional>

namespace harborlite {

class AppModel;

// The prominent scan button of a cleaning screen: "Stop" tinted danger while
// the screen is busy, the screen's own title tinted accent otherwise. A press
// asks `isBusy` again at that moment: busy stops (by default every scan of the
// model), else it starts the screen's scans. Follows the model by itself.
class ScanButton : public GlassCompatButton {
    Q_OBJECT

public:
    struct Behaviour {
        std::function<bool()> isBusy;
        // The title while not busy, asked at every refresh.
        std::function<QString()> title;
        std::function<void()> start;
        // Defaults to AppModel::cancelScan().
        std::function<void()> stop;
        QString stopTitle = QStringLiteral("Stop");
    };

    // Busy while any of `categories` runs; starts a scan of each, in order,
    // without waiting for the one before.
    static Behaviour scanning(AppModel& model, QList<ScanCategory> categories, std::function<QString()> title);

    ScanButton(AppModel& model, Behaviour behaviour, QWidget* parent = nullptr);

    // Asks the behaviour again for busy state and title.
    void refresh();
    bool isBusy() const { return busy_; }

private:
    void press();

    AppModel& model_;
    Behaviour behaviour_;
    bool busy_ = false;
};

} // namespace harborlite
