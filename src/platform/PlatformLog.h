#pragma once

#include <QLoggingCategory>

namespace harborlite {

// Warnings of the platform layer ("harborlite.platform"): what it skipped or failed to write.
Q_DECLARE_LOGGING_CATEGORY(platformLog)

} // namespace harborlite
