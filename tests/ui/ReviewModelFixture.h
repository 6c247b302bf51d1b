#pragma once

#include "model/FakeEngine.h"
#include "model/ScanSession.h"

#include <QCoreApplication>

#include <map>
#include <memory>
#include <mutex>

namespace harborlite::test {

// Lets queued layout requests run; a change of size travels up and down the
// widget tree over a few turns of the event loop.
inline void settleLayouts()
{
    for (int turn = 0; turn < 4; ++turn) {
        QCoreApplication::processEvents();
    }
}

// A scan session whose scans return results the test set beforehand (load()),
// or, for categories without one, the scripted scans of ScanScript that the
// test can hold and release. Nothing touches the disk or the network.
class ReviewModelFixture {
public:
    ReviewModelFixture()
    {
        ModelEngine engine = quietEngine();
        engine.scanner = [this](ScanCategory category) -> std::unique_ptr<CategoryScanner> {
            std::lock_guard lock(mutex_);
            const auto found = presets_.find(category);
            if (found == presets_.end()) {
                return script.scanner(category);
            }
            return std::make_unique<Preset>(found->second);
        };
        scans_ = std::make_unique<ScanSession>(engine.scanSession(), runner_);
    }

    ~ReviewModelFixture()
    {
        script.releaseAll();
        scans_.reset();
        runner_->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    ReviewModelFixture(const ReviewModelFixture&) = delete;
    ReviewModelFixture& operator=(const ReviewModelFixture&) = delete;

    ScanSession& scans() { return *scans_; }

    // Scans the result's category with a scanner returning `result` and waits
    // until the session holds it. Later scans of the category return it again
    // until forget() is called.
    void load(const CategoryResult& result)
    {
        {
            std::lock_guard lock(mutex_);
            presets_[result.category] = result;
        }
        // The session marks the category running at once and clears the mark
        // when it stores the result.
        scans_->scan(result.category);
        waitFor([&] { return !scans_->runningCategories().contains(result.category); });
    }

    // Later scans of the category go to `script` again.
    void forget(ScanCategory category)
    {
        std::lock_guard lock(mutex_);
        presets_.erase(category);
    }

    ScanScript script;

private:
    class Preset : public CategoryScanner {
    public:
        explicit Preset(CategoryResult result)
            : result_(std::move(result))
        {
        }
        ScanCategory category() const override { return result_.category; }
        CategoryResult scan(const ProgressCallback&, const CancelPredicate&) const override { return result_; }

    private:
        CategoryResult result_;
    };

    std::mutex mutex_;
    std::map<ScanCategory, CategoryResult> presets_;
    std::shared_ptr<BackgroundRunner> runner_ = std::make_shared<BackgroundRunner>(4);
    std::unique_ptr<ScanSession> scans_;
};

} // namespace harborlite::test
