#pragma once

#include <QString>

#include <optional>

namespace harborlite {

// What an application bundle declares about itself in its information list.
// A field is absent when the list lacks the key or holds another type there;
// an empty string is kept as it is.
struct BundleInfo {
    std::optional<QString> identifier; // CFBundleIdentifier
    std::optional<QString> name; // CFBundleName
    std::optional<QString> displayName; // CFBundleDisplayName
    std::optional<QString> shortVersion; // CFBundleShortVersionString
    std::optional<QString> version; // CFBundleVersion
    std::optional<QString> executable; // CFBundleExecutable

    bool operator==(const BundleInfo&) const = default;

    // Opens the bundle folder at the path and reads "Contents/Info.plist", or
    // "Info.plist" at the top of the bundle when there is no Contents list.
    // None when the path is not a folder; every field absent when the list is
    // missing, unreadable or not a dictionary.
    static std::optional<BundleInfo> read(const QString& bundlePath);
};

} // namespace harborlite
