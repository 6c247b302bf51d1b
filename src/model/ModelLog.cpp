#include "model/ModelLog.h"

namespace harborlite {

Q_LOGGING_CATEGORY(modelLog, "harborlite.model", QtWarningMsg)

} // namespace harborlite
