#pragma once

#include "engine/models/CodeSignature.h"

#include <QString>

#include <optional>

namespace harborlite::CodeSignatureInspector {

// The signature of a bundle or executable; never fails, an unreadable or
// unsigned program gives the empty record ("Not signed").
CodeSignature inspect(const QString& path);

// The innermost application bundle (a folder ending in ".app") holding the path,
// the path itself included; none for a bundle directly below "/".
std::optional<QString> owningApplication(const QString& path);

} // namespace harborlite::CodeSignatureInspector
