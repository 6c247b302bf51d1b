#pragma once

#include "shared/MonitorReading.h"

namespace harborlite {

class AppModel;

// The model's current values in the form the live displays read them.
MonitorInputs monitorInputs(const AppModel& model);

} // namespace harborlite
