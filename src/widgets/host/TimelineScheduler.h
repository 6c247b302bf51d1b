#pragma once

#include "widgets/kit/Widget.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QUuid>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace harborlite {

class CompletionRelay;

// Keeps each placed widget's view fed from its provider: the placeholder at
// once, then a timeline requested on the provider's worker, each entry from its
// date on, and the next request at the reload date. Answers come back to this
// object's thread before anything is shown; an answer for a widget no longer
// tracked, or from a request a newer one has replaced, is dropped. A request
// that gives no answer within kRequestTimeout is retried later; until an entry
// arrives the placeholder stays.
class TimelineScheduler : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds kRequestTimeout{60};

    using Show = std::function<void(const WidgetEntry&)>;
    // Runs `fire` after `delay` unless `context` has gone by then.
    using Arm = std::function<void(QObject* context, std::chrono::milliseconds delay, std::function<void()> fire)>;

    struct Setup {
        Arm arm;
    };
    // Timers of the event loop.
    static Setup eventLoopSetup();

    explicit TimelineScheduler(Setup setup = eventLoopSetup(), QObject* parent = nullptr);
    // Drops every answer still to come.
    ~TimelineScheduler() override;

    // Starts feeding `show` with `widget`'s entries for `family` under `id`;
    // `widget` must outlive the tracking.
    void track(const QUuid& id, const Widget& widget, WidgetFamily family, Show show);
    void untrack(const QUuid& id);
    bool isTracking(const QUuid& id) const;

    // When the widget's next request is due; none while one is out or when its
    // timeline never reloads.
    std::optional<QDateTime> reloadDate(const QUuid& id) const;

    // Requests whose answer has not come back yet.
    int outstanding() const;
    // Blocks until no request is out or `timeout` has passed; true when none is.
    bool waitForOutstanding(std::chrono::milliseconds timeout) const;

private:
    struct Track {
        const Widget* widget = nullptr;
        WidgetFamily family = WidgetFamily::systemSmall;
        Show show;
        quint64 generation = 0;
        std::optional<QDateTime> reloadAt;
        // Parent of every timer armed for the widget; replaced to cancel them.
        std::unique_ptr<QObject> timers;
    };

    void request(const QUuid& id);
    void apply(const QUuid& id, quint64 generation, WidgetTimeline timeline);
    void timedOut(const QUuid& id, quint64 generation);
    QObject* freshTimers(Track& track);
    void armReload(const QUuid& id, Track& track, const QDateTime& at);

    Setup setup_;
    std::shared_ptr<CompletionRelay> relay_;
    std::map<QUuid, Track> tracks_;
};

} // namespace harborlite
