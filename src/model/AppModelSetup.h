#pragma once

#include "model/AppModel.h"
#include "model/ModelEngine.h"
#include "platform/SystemVersion.h"
#include "quorvanekit/QuorvaneConfiguration.h"
#include "quorvanekit/UpdateChecker.h"

#include <QJsonObject>

#include <memory>

namespace harborlite {

// What the model is built from; the defaults are the machine's own. Apart from
// the model so that only those who build one see the whole engine.
struct AppModel::Setup {
    ModelEngine engine = ModelEngine::real();
    QuorvaneConfiguration updateConfiguration = QuorvaneConfiguration::harborlite();
    QJsonObject bundleInformation = UpdateChecker::mainBundleInformation();
    platform::OperatingSystemVersion systemVersion = platform::systemVersion();
    UpdateChecker::Settings updateSettings;
    // Shared with the caller when given, else the model's own.
    std::shared_ptr<BackgroundRunner> runner;
    // Defaults to a single-shot timer.
    TickScheduler scheduleTick;
};

} // namespace harborlite
