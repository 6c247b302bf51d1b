#pragma once

#include <QLoggingCategory>

namespace harborlite {

// Warnings of the engine layer ("harborlite.engine"): what it skipped or failed to write.
Q_DECLARE_LOGGING_CATEGORY(engineLog)

} // namespace harborlite
