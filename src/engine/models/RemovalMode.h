#pragma once

#include <QString>

#include <array>
#include <optional>

namespace harborlite {

// How the removal engine disposes of what a user selected; screens and the
// model hold the choice without needing the engine itself.
enum class RemovalMode { trash, permanent, shred };

inline constexpr std::array<RemovalMode, 3> allRemovalModes = {RemovalMode::trash, RemovalMode::permanent,
                                                               RemovalMode::shred};

// The case name; it is also the stored form.
QString rawValue(RemovalMode mode);
// The mode whose case name equals `raw` exactly; none for anything else.
std::optional<RemovalMode> removerModeFromRawValue(const QString& raw);

} // namespace harborlite
