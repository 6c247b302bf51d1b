#pragma once

#include <QLoggingCategory>

namespace harborlite {

// Warnings of the model layer ("harborlite.model"): what it skipped or failed to write.
Q_DECLARE_LOGGING_CATEGORY(modelLog)

} // namespace harborlite
