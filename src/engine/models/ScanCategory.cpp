#include "engine/models/ScanCategory.h"

#include "shared/RawValue.h"

#include <QCoreApplication>

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
    {"systemJunk", QT_TRANSLATE_NOOP("ScanCategory", "System Junk"), "tray.full",
     QT_TRANSLATE_NOOP("ScanCategory", "Caches, logs, broken preferences and developer leftovers.")},
    {"trash", QT_TRANSLATE_NOOP("ScanCategory", "Trash Bins"), "trash",
     QT_TRANSLATE_NOOP("ScanCategory", "Everything sitting in the Trash on every mounted volume.")},
    {"mailAttachments", QT_TRANSLATE_NOOP("ScanCategory", "Mail Attachments"), "envelope",
     QT_TRANSLATE_NOOP("ScanCategory", "Local copies of attachments Mail can download again.")},
    {"largeAndOld", QT_TRANSLATE_NOOP("ScanCategory", "Large & Old Files"), "doc.text.magnifyingglass",
     QT_TRANSLATE_NOOP("ScanCategory", "Files over 50 MB you have not opened in a long time.")},
    {"privacy", QT_TRANSLATE_NOOP("ScanCategory", "Privacy"), "hand.raised",
     QT_TRANSLATE_NOOP("ScanCategory", "Browsing history, cookies and recent-item lists.")},
    {"leftovers", QT_TRANSLATE_NOOP("ScanCategory", "App Leftovers"), "shippingbox",
     QT_TRANSLATE_NOOP("ScanCategory", "Support files from applications that are no longer installed.")},
    {"malware", QT_TRANSLATE_NOOP("ScanCategory", "Malware"), "shield.lefthalf.filled",
     QT_TRANSLATE_NOOP("ScanCategory", "Known adware, browser hijackers and unwanted launch agents.")},
    {"duplicates", QT_TRANSLATE_NOOP("ScanCategory", "Duplicate Files"), "doc.on.doc",
     QT_TRANSLATE_NOOP("ScanCategory", "Files whose contents are byte for byte identical.")},
    {"installers", QT_TRANSLATE_NOOP("ScanCategory", "Installers & Disk Images"), "opticaldiscdrive",
     QT_TRANSLATE_NOOP("ScanCategory", "Disk images and installer packages for software already installed.")},
    {"downloadedMedia", QT_TRANSLATE_NOOP("ScanCategory", "Downloaded Media"), "play.rectangle.on.rectangle",
     QT_TRANSLATE_NOOP("ScanCategory", "Podcast, TV and Music downloads, and photo caches that rebuild.")},
    {"deviceBackups", QT_TRANSLATE_NOOP("ScanCategory", "Device Backups"), "iphone.gen3",
     QT_TRANSLATE_NOOP("ScanCategory", "iPhone and iPad backups and their software updates.")},
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
    return QCoreApplication::translate("ScanCategory", texts(category).title);
}

QString symbol(ScanCategory category)
{
    return QString::fromLatin1(texts(category).symbol);
}

QString blurb(ScanCategory category)
{
    return QCoreApplication::translate("ScanCategory", texts(category).blurb);
}

} // namespace harborlite
