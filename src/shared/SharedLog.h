#pragma once

#include <QLoggingCategory>

namespace harborlite {

// Warnings of the shared layer ("harborlite.shared"): what it skipped or failed to write.
Q_DECLARE_LOGGING_CATEGORY(sharedLog)

} // namespace harborlite
