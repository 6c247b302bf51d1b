#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Painting and palettes need a GUI application; one lives for the whole test
// run on the main thread, with no display of its own.
class ApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[9] = "ui_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
