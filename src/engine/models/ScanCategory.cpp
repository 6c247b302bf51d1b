#include "engine/models/ScanCategory.h"

#include "shared/RawValue.h"

namespace harborlite {

namespace {

struct CategoryTexts {
    const char* raw;
    const char* title;
    const char* symbol;
    const char* blurb;
};

// Indexed by the enumeration's value.
constexpr std::array<CategoryTexts, 11> kTexts = {{
    {"systemJunk", "System Junk", "tray.full", "Caches, logs, broken preferences and developer leftovers."},
    {"trash", "Trash Bins", "trash", "Everything sitting in the Trash on every mounted volume."},
    {"mailAttachments", "Mail Attachments", "envelope", "Local copies of attachments Mail can download again."},
    {"largeAndOld", "Large & Old Files", "doc.text.magnifyingglass",
     "Files over 50 MB you have not opened in a long time."},
    {"privacy", "Privacy", "hand.raised", "Browsing history, cookies and recent-item lists."},
    {"leftovers", "App Leftovers", "shippingbox", "Support files from applications that are no longer installed."},
    {"malware", "Malware", "shield.lefthalf.filled", "Known adware, browser hijackers and unwanted launch agents."},
    {"duplicates", "Duplicate Files", "doc.on.doc", "Files whose contents are byte for byte identical."},
    {"installers", "Installers & Disk Images", "opticaldiscdrive",
     "Disk images and installer packages for software already installed."},
    {"downloadedMedia", "Downloaded Media", "play.rectangle.on.rectangle",
     "Podcast, TV and Music downloads, and photo caches that rebuild."},
    {"deviceBackups", "Device Backups", "iphone.gen3", "iPhone and iPad backups and their software updates."},
}};

const CategoryTexts& texts(ScanCategory category)
{
    return kTexts.at(static_cast<size_t>(category));
}

} // namespace

QString rawValue(ScanCategory category)
{
    return QString::fromLatin1(texts(category).raw);
}

std::optional<ScanCategory> scanCategoryFromRawValue(const QString& raw)
{
    return caseFromRawValue(ScanCategories::allCases, raw);
}

QString title(ScanCategory category)
{
    return QString::fromUtf8(texts(category).title);
}

QString symbol(ScanCategory category)
{
    return QString::fromLatin1(texts(category).symbol);
}

QString blurb(ScanCategory category)
{
    return QString::fromUtf8(texts(category).blurb);
}

} // namespace harborlite
