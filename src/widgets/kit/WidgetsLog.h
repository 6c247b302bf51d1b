#pragma once

#include <QLoggingCategory>

namespace harborlite {

// Warnings of the widget plug-in and its host ("harborlite.widgets"): what they
// skipped, repaired or failed to write.
Q_DECLARE_LOGGING_CATEGORY(widgetsLog)

} // namespace harborlite
