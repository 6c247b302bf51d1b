#include "shared/SharedLog.h"

namespace harborlite {

Q_LOGGING_CATEGORY(sharedLog, "harborlite.shared", QtWarningMsg)

} // namespace harborlite
