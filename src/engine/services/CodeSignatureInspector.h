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

namespace CodeSignatureInspector {

// The signature of a bundle or executable; never fails, an unreadable or
// unsigned program gives the empty record ("Not signed").
CodeSignature inspect(const QString& path);

// The innermost application bundle (a folder ending in ".app") holding the path,
// the path itself included; none for a bundle directly below "/".
std::optional<QString> owningApplication(const QString& path);

} // namespace CodeSignatureInspector

} // namespace harborlite
