#pragma once

#include <QString>

#include <iterator>
#include <optional>
#include <type_traits>

namespace harborlite {

// The case of an enumeration whose raw value (found by `rawValue(case)`) is
// `raw`; none when no case has it. Comparison is exact.
template <typename Cases>
auto caseFromRawValue(const Cases& allCases, const QString& raw)
    -> std::optional<std::decay_t<decltype(*std::begin(allCases))>>
{
    for (const auto value : allCases) {
        if (rawValue(value) == raw) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace harborlite
