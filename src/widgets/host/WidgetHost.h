#pragma once

#include "widgets/host/PlacementStore.h"
#include "widgets/host/TimelineScheduler.h"
#include "widgets/host/WidgetPlacement.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QUuid>

#include <map>
#include <memory>
#include <vector>

namespace harborlite {

class DesktopWindow;
class Widget;
class WidgetBundle;
class WidgetView;

// The desktop side of the widget host: one window per placed widget, fed by
// the timeline scheduler, the placements remembered in the host's file, and
// the gallery to add widgets from. The host quits when neither a widget nor
// the gallery is shown.
class WidgetHost : public QObject {
    Q_OBJECT

public:
    struct Setup {
        QString placementsFile = PlacementStore::standardFilePath();
        TimelineScheduler::Setup scheduling = TimelineScheduler::eventLoopSetup();
        // False in tests: plain frameless windows, never on the desktop layer.
        bool desktopLayer = true;
    };

    WidgetHost(const WidgetBundle& bundle, Setup setup);
    ~WidgetHost() override;

    // Shows the remembered widgets, or the gallery when none is placed.
    void start();

    // Places a new widget of `kind` in `family` at the first free spot.
    void place(const QString& kind, WidgetFamily family);
    // Takes the widget off the desktop and out of the placements.
    void remove(const QUuid& id);
    void showGallery();

    const std::vector<WidgetPlacement>& placements() const { return placements_; }
    // The window of a placed widget while it is shown.
    DesktopWindow* window(const QUuid& id) const;
    const TimelineScheduler& scheduler() const { return scheduler_; }

    // The first spot on `area` where `size` overlaps none of `taken`, scanning
    // rows from the top-left with a margin; the top-left when nothing is free.
    static QPoint freeSpot(const QRect& area, QSize size, const std::vector<QRect>& taken);
    // `position` when a window of `size` there shows on one of `screens`,
    // else moved into `fallback`.
    static QPoint onScreen(QPoint position, QSize size, const std::vector<QRect>& screens, const QRect& fallback);

    // Blocks until no request of the plug-in is out, or `timeout` has passed.
    bool waitForRequests(std::chrono::milliseconds timeout) const;

signals:
    void quitRequested();

private:
    struct Shown {
        std::unique_ptr<WidgetView> view;
        std::unique_ptr<DesktopWindow> window;
    };

    const Widget* widget(const QString& kind) const;
    void show(const WidgetPlacement& placement);
    void hide(const QUuid& id);
    void render(const QUuid& id);
    void moved(const QUuid& id, QPoint position);
    void save();
    void quitWhenEmpty();
    std::vector<QRect> taken() const;

    std::vector<const Widget*> widgets_;
    Setup setup_;
    PlacementStore store_;
    TimelineScheduler scheduler_;
    std::vector<WidgetPlacement> placements_;
    std::map<QUuid, Shown> shown_;
    bool blend_ = false;
    QPointer<QWidget> gallery_;
};

} // namespace harborlite
