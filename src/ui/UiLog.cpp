#include "ui/UiLog.h"

namespace harborlite {

Q_LOGGING_CATEGORY(uiLog, "harborlite.ui", QtWarningMsg)

} // namespace harborlite
