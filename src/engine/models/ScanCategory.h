#pragma once

#include <QString>

#include <array>
#include <optional>

namespace harborlite {

// The eleven scan categories, in display order.
enum class ScanCategory {
    systemJunk,
    trash,
    mailAttachments,
    largeAndOld,
    privacy,
    leftovers,
    malware,
    duplicates,
    installers,
    downloadedMedia,
    deviceBackups,
};

namespace ScanCategories {

inline constexpr std::array<ScanCategory, 11> allCases = {
    ScanCategory::systemJunk, ScanCategory::trash,           ScanCategory::mailAttachments, ScanCategory::largeAndOld,
    ScanCategory::privacy,    ScanCategory::leftovers,       ScanCategory::malware,         ScanCategory::duplicates,
    ScanCategory::installers, ScanCategory::downloadedMedia, ScanCategory::deviceBackups,
};

// The categories of the smart scan, in the order it runs and shows them.
inline constexpr std::array<ScanCategory, 8> smartScan = {
    ScanCategory::systemJunk,      ScanCategory::trash,     ScanCategory::mailAttachments, ScanCategory::installers,
    ScanCategory::downloadedMedia, ScanCategory::leftovers, ScanCategory::malware,         ScanCategory::privacy,
};

} // namespace ScanCategories

// The case name, which is also the category's identifier.
QString rawValue(ScanCategory category);
std::optional<ScanCategory> scanCategoryFromRawValue(const QString& raw);

QString title(ScanCategory category);
QString symbol(ScanCategory category);
QString blurb(ScanCategory category);

} // namespace harborlite
