#include "engine/EngineLog.h"

namespace harborlite {

Q_LOGGING_CATEGORY(engineLog, "harborlite.engine", QtWarningMsg)

} // namespace harborlite
