#include "shared/MonitorKind.h"

#include "shared/RawValue.h"

#include <QCoreApplication>

namespace harborlite {

namespace {

struct KindEntry {
    const char* raw;
    PaletteRole tint;
    const char* title;
    const char* symbol;
};

// Indexed by the enumeration's value.
constexpr std::array<KindEntry, 7> kKinds = {{
    {"cpu", PaletteRole::accent, QT_TRANSLATE_NOOP("MonitorKind", "CPU"), "cpu"},
    {"memory", PaletteRole::accentDeep, QT_TRANSLATE_NOOP("MonitorKind", "Memory"), "memorychip"},
    {"storage", PaletteRole::accentBright, QT_TRANSLATE_NOOP("MonitorKind", "Storage"), "internaldrive"},
    {"network", PaletteRole::info, QT_TRANSLATE_NOOP("MonitorKind", "Network"), "arrow.up.arrow.down"},
    {"battery", PaletteRole::accent, QT_TRANSLATE_NOOP("MonitorKind", "Battery"), "battery.100"},
    {"processes", PaletteRole::accentDeep, QT_TRANSLATE_NOOP("MonitorKind", "Top Processes"), "list.bullet.rectangle"},
    {"junk", PaletteRole::accent, QT_TRANSLATE_NOOP("MonitorKind", "Reclaimable"), "trash.circle"},
}};

const KindEntry& entry(MonitorKind kind)
{
    return kKinds.at(static_cast<size_t>(kind));
}

} // namespace

QString rawValue(MonitorKind kind)
{
    return QString::fromLatin1(entry(kind).raw);
}

std::optional<MonitorKind> monitorKindFromRawValue(const QString& raw)
{
    return caseFromRawValue(MonitorKinds::allCases, raw);
}

PaletteRole tint(MonitorKind kind)
{
    return entry(kind).tint;
}

QString title(MonitorKind kind)
{
    return QCoreApplication::translate("MonitorKind", entry(kind).title);
}

QString symbol(MonitorKind kind)
{
    return QString::fromLatin1(entry(kind).symbol);
}

} // namespace harborlite
