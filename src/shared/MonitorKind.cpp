#include "shared/MonitorKind.h"

#include "shared/RawValue.h"

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
    {"cpu", PaletteRole::accent, "CPU", "cpu"},
    {"memory", PaletteRole::accentDeep, "Memory", "memorychip"},
    {"storage", PaletteRole::accentBright, "Storage", "internaldrive"},
    {"network", PaletteRole::info, "Network", "arrow.up.arrow.down"},
    {"battery", PaletteRole::accent, "Battery", "battery.100"},
    {"processes", PaletteRole::accentDeep, "Top Processes", "list.bullet.rectangle"},
    {"junk", PaletteRole::accent, "Reclaimable", "trash.circle"},
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
    return QString::fromLatin1(entry(kind).title);
}

QString symbol(MonitorKind kind)
{
    return QString::fromLatin1(entry(kind).symbol);
}

} // namespace harborlite
