#pragma once

#include "platform/Seam.h"

#include <QString>

#include <functional>
#include <optional>

namespace harborlite::platform {

// What the system's code-signing services tell about one program on disk.
struct StaticCodeInfo {
    // The static validity check succeeded.
    bool isValid = false;
    // The signing information could be read as a dictionary; without it the
    // fields below are absent.
    bool hasInformation = false;
    std::optional<QString> teamIdentifier;
    std::optional<QString> signingIdentifier;
    // Common name of the leaf certificate, when there are certificates and the
    // name can be read.
    std::optional<QString> leafCommonName;
};

// Answers std::nullopt when the path cannot be opened as code at all.
using CodeSigningSource = std::function<std::optional<StaticCodeInfo>(const QString& path)>;

// Linux has no code-signing services: the real source reports every program as
// something that cannot be opened as signed code, so it reads "Not signed".
Seam<CodeSigningSource>& codeSigning();

} // namespace harborlite::platform
