#include "ui/tray/MenuBarLabel.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace harborlite::MenuBarLabel {

std::vector<MonitorKind> kinds(const std::vector<MonitorKind>& chosen)
{
    std::vector<MonitorKind> shown;
    std::copy_if(chosen.begin(), chosen.end(), std::back_inserter(shown),
                 [](MonitorKind kind) { return kind != MonitorKind::processes; });
    if (shown.size() > kMaximumKinds) {
        shown.resize(kMaximumKinds);
    }
    return shown;
}

QString summary(const std::vector<MonitorKind>& kinds, const MonitorInputs& inputs)
{
    QStringList parts;
    for (const MonitorKind kind : kinds) {
        parts.append(monitorReading(kind, inputs).compact);
    }
    return parts.join(QStringLiteral(u" \u00B7 "));
}

} // namespace harborlite::MenuBarLabel
