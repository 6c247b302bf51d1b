#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace harborlite {

// A screen's refresh loop: start() runs the body at once, then again after
// each pause, the pause read afresh before every wait; stop() ends it. A
// screen starts it when shown and stops it when hidden, so nothing runs while
// it is off screen. tick() runs one pass by hand (and re-arms while running).
class RepeatingTask : public QObject {
    Q_OBJECT

public:
    using Body = std::function<void()>;
    using Pause = std::function<int()>;

    // `pauseMilliseconds` is asked before every wait.
    RepeatingTask(Body body, Pause pauseMilliseconds, QObject* parent = nullptr);

    // Runs the body now and keeps running it; does nothing while running.
    void start();
    void stop();
    bool isRunning() const { return running_; }

    // The wait armed now; 0 while stopped.
    int armedPause() const { return running_ ? timer_.interval() : 0; }
    // The pause the next wait will take.
    int nextPause() const { return pause_(); }

    // One pass: the body, then the next wait while running.
    void tick();

private:
    Body body_;
    Pause pause_;
    QTimer timer_;
    bool running_ = false;
};

} // namespace harborlite
