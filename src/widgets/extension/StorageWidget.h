#pragma once

#include "widgets/kit/Widget.h"

#include <QString>

#include <memory>

namespace harborlite {

// The storage widget: how much room is left on the start-up disk, in two
// sizes, fed by MonitorProvider.
struct StorageWidget {
    QString kind = QStringLiteral("HarborliteStorage");

    static QString displayName();
    static QString description();

    std::unique_ptr<Widget> body() const;
};

} // namespace harborlite
