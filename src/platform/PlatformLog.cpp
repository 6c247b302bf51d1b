#include "platform/PlatformLog.h"

namespace harborlite {

Q_LOGGING_CATEGORY(platformLog, "harborlite.platform", QtWarningMsg)

} // namespace harborlite
