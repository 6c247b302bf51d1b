#pragma once

#include "shared/MonitorReading.h"

#include <functional>

class QObject;

namespace harborlite {

class AppModel;

// The model's current values in the form the live displays read them.
MonitorInputs monitorInputs(const AppModel& model);
// Runs `changed` whenever a value monitorInputs() reads changes (a sample, the
// processes, the results, the last smart scan) and only then, while `context`
// exists: the live displays refresh for what they show, not for every change
// of the stores.
void watchMonitorInputs(const AppModel& model, const QObject* context, const std::function<void()>& changed);
// Ends every connection of the stores watchMonitorInputs() watches to
// `context`: a view calls it first thing in its destructor, so no change
// reaches it while its children are destroyed after its own members.
void unwatchMonitorInputs(const AppModel& model, const QObject* context);

} // namespace harborlite
