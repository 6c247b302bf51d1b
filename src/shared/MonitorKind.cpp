#include "shared/MonitorKind.h"

namespace harborlite {

namespace {

struct KindEntry {
    const char* raw;
    PaletteRole tint;
};

// Indexed by the enumeration's value.
constexpr std::array<KindEntry, 7> kKinds = {{
    {"cpu", PaletteRole::accent},
    {"memory", PaletteRole::accentDeep},
    {"storage", PaletteRole::accentBright},
    {"network", PaletteRole::info},
    {"battery", PaletteRole::accent},
    {"processes", PaletteRole::accentDeep},
    {"junk", PaletteRole::accent},
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
    for (MonitorKind kind : MonitorKinds::allCases) {
        if (raw == QLatin1String(entry(kind).raw)) {
            return kind;
        }
    }
    return std::nullopt;
}

PaletteRole tint(MonitorKind kind)
{
    return entry(kind).tint;
}

} // namespace harborlite
