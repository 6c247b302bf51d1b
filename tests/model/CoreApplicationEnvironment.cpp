#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Queued calls to the GUI thread need an application object; one lives for
// the whole test run, on the main thread, like the application's own.
class CoreApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override { application_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[12] = "model_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> application_;
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new CoreApplicationEnvironment);

} // namespace
