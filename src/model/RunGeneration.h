#pragma once

#include "model/CancellationFlag.h"

#include <QtGlobal>

#include <functional>
#include <memory>

namespace harborlite {

// The runs of one kind (one category's scan, the smart scan, the disk map).
// Each start opens a new generation with its own cancellation flag; only the
// newest generation may publish its outcome. Used on the GUI thread; the flag
// it hands out may be polled anywhere.
class RunGeneration {
public:
    struct Run {
        quint64 generation = 0;
        std::shared_ptr<CancellationFlag> flag;

        // A cancellation test for the worker; it keeps the flag alive.
        std::function<bool()> isCancelled() const;
    };

    // Opens the next generation with a fresh flag. Earlier runs keep their
    // flags as they are (a stopped run stays stopped) and are no longer current.
    Run start();

    // Whether `generation` is the newest one started.
    bool isCurrent(quint64 generation) const;

    // Sets the newest run's flag; does nothing before the first start.
    void cancel();

    // Whether the newest run has been asked to stop (false before any start).
    bool isCancelled() const;

private:
    quint64 generation_ = 0;
    std::shared_ptr<CancellationFlag> flag_;
};

} // namespace harborlite
