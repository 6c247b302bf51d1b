#pragma once

#include <QLoggingCategory>

namespace harborlite {

// Warnings of the ui layer ("harborlite.ui"): what it skipped or failed to write.
Q_DECLARE_LOGGING_CATEGORY(uiLog)

} // namespace harborlite
