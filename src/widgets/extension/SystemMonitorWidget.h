#pragma once

#include "widgets/kit/Widget.h"

#include <QString>

#include <memory>

namespace harborlite {

// The system-monitor widget: processor, memory, storage and network at a
// glance, in three sizes, fed by MonitorProvider.
struct SystemMonitorWidget {
    QString kind = QStringLiteral("HarborliteSystemMonitor");

    static QString displayName();
    static QString description();

    std::unique_ptr<Widget> body() const;
};

} // namespace harborlite
