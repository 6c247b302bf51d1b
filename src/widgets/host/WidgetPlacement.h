#pragma once

#include "widgets/kit/WidgetFamily.h"

#include <QPoint>
#include <QString>
#include <QUuid>

#include <optional>

namespace harborlite {

// One widget the user has put on the desktop.
struct WidgetPlacement {
    QUuid id;
    QString kind;
    WidgetFamily family = WidgetFamily::systemSmall;
    // The window's top-left corner on the virtual desktop; none until placed.
    std::optional<QPoint> position;

    bool operator==(const WidgetPlacement&) const = default;
};

} // namespace harborlite
