#pragma once

#include <QString>

#include <optional>

namespace harborlite {

// Who signed a program and whether the signature holds.
struct CodeSignature {
    std::optional<QString> authority;
    std::optional<QString> teamIdentifier;
    bool isValid = false;
    bool isApple = false;

    bool operator==(const CodeSignature&) const = default;

    // One line naming the publisher for display.
    QString publisher() const;
};

} // namespace harborlite
