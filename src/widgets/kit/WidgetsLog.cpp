#include "widgets/kit/WidgetsLog.h"

namespace harborlite {

Q_LOGGING_CATEGORY(widgetsLog, "harborlite.widgets", QtWarningMsg)

} // namespace harborlite
