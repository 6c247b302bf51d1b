#include <QCoreApplication>
#include <QNetworkProxy>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Network replies and queued calls need an application object on the main
// thread. Requests go straight to the loopback server, whatever proxy the
// machine names.
class CoreApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        application_ = std::make_unique<QCoreApplication>(argc_, argv_);
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[18] = "quorvanekit_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> application_;
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new CoreApplicationEnvironment);

} // namespace
