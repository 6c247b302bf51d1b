#include "engine/scanners/PrivacyScanner.h"

#include "engine/formats/NoFollow.h"
#include "engine/models/SizeOrder.h"
#include "engine/scanners/ScanSteps.h"
#include "platform/Clock.h"
#include "shared/FileSystem.h"

#include <QCoreApplication>

namespace harborlite {

namespace {

using namespace NoFollow;
using namespace ScanSteps;

const QString dash = QStringLiteral(" \u2014 ");

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct BrowserRow {
    const char* name;
    const char* root; // inside the user's Library
    QList<std::pair<const char*, const char*>> traces;
};

const QList<std::pair<const char*, const char*>> historyAndCookies = {
    {QT_TRANSLATE_NOOP("PrivacyScanner", "Browsing history"), "History"},
    {QT_TRANSLATE_NOOP("PrivacyScanner", "Cookies"), "Network/Cookies"}};

const QList<BrowserRow>& browserRows()
{
    static const QList<BrowserRow> rows = {
        {"Safari",
         "Containers/com.apple.Safari/Data/Library/Safari",
         {{QT_TRANSLATE_NOOP("PrivacyScanner", "Browsing history"), "History.db"},
          {QT_TRANSLATE_NOOP("PrivacyScanner", "History index"), "History.db-wal"},
          {QT_TRANSLATE_NOOP("PrivacyScanner", "Top sites"), "TopSites.plist"},
          {QT_TRANSLATE_NOOP("PrivacyScanner", "Downloads list"), "Downloads.plist"}}},
        {"Safari Caches",
         "Containers/com.apple.Safari/Data/Library/Caches",
         {{QT_TRANSLATE_NOOP("PrivacyScanner", "Cache storage"), ""}}},
        {"Google Chrome",
         "Application Support/Google/Chrome/Default",
         {{QT_TRANSLATE_NOOP("PrivacyScanner", "Browsing history"), "History"},
          {QT_TRANSLATE_NOOP("PrivacyScanner", "Cookies"), "Network/Cookies"},
          {QT_TRANSLATE_NOOP("PrivacyScanner", "Session storage"), "Sessions"},
          {QT_TRANSLATE_NOOP("PrivacyScanner", "Top sites"), "Top Sites"}}},
        {"Brave", "Application Support/BraveSoftware/Brave-Browser/Default", historyAndCookies},
        {"Microsoft Edge", "Application Support/Microsoft Edge/Default", historyAndCookies},
        {"Arc", "Application Support/Arc/User Data/Default", historyAndCookies},
    };
    return rows;
}

// Where the same browsers keep the same stores on Linux, inside the home folder.
const QList<std::pair<const char*, const char*>>& linuxBrowserRoots()
{
    static const QList<std::pair<const char*, const char*>> roots = {
        {"Google Chrome", ".config/google-chrome/Default"},
        {"Brave", ".config/BraveSoftware/Brave-Browser/Default"},
        {"Microsoft Edge", ".config/microsoft-edge/Default"},
    };
    return roots;
}

QStringList firefoxProfileFolders()
{
    // The Library's profiles folder, then the one Firefox keeps on Linux.
    return {FS::join(FS::library(), text("Application Support/Firefox/Profiles")),
            FS::join(FS::home(), text(".mozilla/firefox"))};
}

const QList<std::pair<const char*, const char*>> firefoxFiles = {
    {QT_TRANSLATE_NOOP("PrivacyScanner", "History & bookmarks index"), "places.sqlite"},
    {QT_TRANSLATE_NOOP("PrivacyScanner", "Cookies"), "cookies.sqlite"}};

ScanGroup optInGroup(const QString& title, const QString& subtitle, const char* symbol, const QList<ScanItem>& items)
{
    return {.title = title,
            .subtitle = subtitle,
            .symbol = text(symbol),
            .isOptIn = true,
            .items = items,
            .isExpanded = false};
}

} // namespace

QList<PrivacyScanner::Browser> PrivacyScanner::browsers()
{
    QList<Browser> result;
    for (const BrowserRow& row : browserRows()) {
        Browser browser;
        browser.name = text(row.name);
        browser.roots.append(FS::join(FS::library(), text(row.root)));
        for (const auto& [name, root] : linuxBrowserRoots()) {
            if (browser.name == text(name)) {
                browser.roots.append(FS::join(FS::home(), text(root)));
            }
        }
        for (const auto& [label, relative] : row.traces) {
            browser.traces.append({QCoreApplication::translate("PrivacyScanner", label), text(relative)});
        }
        result.append(browser);
    }
    return result;
}

CategoryResult PrivacyScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    CategoryResult result;
    result.category = category();

    report(progress, {0.1, QCoreApplication::translate("PrivacyScanner", "Checking browsers\u2026"), 0});
    const QList<Browser> list = browsers();
    const double count = double(std::max<qsizetype>(list.size(), 1));
    QList<ScanItem> traces;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (cancelled(isCancelled)) {
            break;
        }
        const Browser& browser = list.at(i);
        report(progress,
               {0.1 + double(i) * 0.4 / count,
                QCoreApplication::translate("PrivacyScanner", "Checking %1\u2026").arg(browser.name), 0});
        for (const QString& named : browser.roots) {
            const std::optional<Root> profile = root(named);
            if (!profile) {
                continue;
            }
            for (const Trace& trace : browser.traces) {
                const QString location =
                    trace.relative.isEmpty() ? profile->location : FS::join(profile->location, trace.relative);
                if (FS::exists(location) && isAllowed(location)) {
                    traces.append(item(location, browser.name + dash + trace.label, browser.name,
                                       FS::size(location, {.descendIntoPackages = true, .isCancelled = isCancelled}),
                                       true));
                }
            }
        }
    }
    sortBySize(traces);
    qint64 browserBytes = 0;
    for (const ScanItem& trace : traces) {
        browserBytes += trace.size;
    }
    appendIfAny(
        result.groups,
        optInGroup(QCoreApplication::translate("PrivacyScanner", "Browsing Traces"),
                   QCoreApplication::translate(
                       "PrivacyScanner", "History, cookies and session data \u2014 you will be signed out of sites"),
                   "network", traces));

    report(progress,
           {0.5, QCoreApplication::translate("PrivacyScanner", "Checking Firefox profiles\u2026"), browserBytes});
    appendIfAny(result.groups,
                optInGroup(QCoreApplication::translate("PrivacyScanner", "Firefox Profiles"),
                           QCoreApplication::translate("PrivacyScanner", "Per-profile history and cookie stores"),
                           "flame", firefoxTraces(isCancelled)));

    report(progress,
           {0.75, QCoreApplication::translate("PrivacyScanner", "Checking recent item lists\u2026"), browserBytes});
    appendIfAny(
        result.groups,
        optInGroup(QCoreApplication::translate("PrivacyScanner", "Recent Items"),
                   QCoreApplication::translate("PrivacyScanner", "Recently opened file lists across the system"),
                   "clock.arrow.circlepath", recentItemTraces(isCancelled)));

    report(progress,
           {1.0, QCoreApplication::translate("PrivacyScanner", "Privacy scan complete"), totalSize(result.groups)});
    result.scannedAt = platform::now();
    return result;
}

QList<ScanItem> PrivacyScanner::firefoxTraces(const CancelPredicate& isCancelled) const
{
    QList<ScanItem> found;
    for (const QString& named : firefoxProfileFolders()) {
        const std::optional<Root> profiles = root(named);
        if (!profiles || !FS::isDirectory(profiles->location)) {
            continue;
        }
        for (const QString& profile : FS::children(profiles->location, {.includingHidden = false})) {
            if (cancelled(isCancelled)) {
                return found;
            }
            // A profile reached through a link lies outside the profiles folder.
            if (entryType(profile) != EntryType::folder) {
                continue;
            }
            const QString profileName = FS::lastPathComponent(profile);
            for (const auto& [label, file] : firefoxFiles) {
                const QString location = FS::join(profile, text(file));
                if (FS::exists(location) && isAllowed(location)) {
                    found.append(item(location,
                                      profileName + dash + QCoreApplication::translate("PrivacyScanner", label),
                                      text("Firefox"), FS::allocatedSize(location), true));
                }
            }
        }
    }
    return found;
}

QList<ScanItem> PrivacyScanner::recentItemTraces(const CancelPredicate& isCancelled) const
{
    QList<ScanItem> found;
    const std::optional<Root> lists =
        root(FS::join(FS::library(), text("Application Support/com.apple.sharedfilelist")));
    for (const QString& list : lists ? FS::children(lists->location, {.includingHidden = true}) : QStringList()) {
        const QString name = FS::lastPathComponent(list);
        if (!pathExtension(name).startsWith(QLatin1String("sfl"))) {
            continue;
        }
        if (cancelled(isCancelled)) {
            break;
        }
        if (isAllowed(list)) {
            found.append(item(list, deletingPathExtension(name),
                              QCoreApplication::translate("PrivacyScanner", "Recent items list"),
                              FS::allocatedSize(list), true));
        }
    }
    const QString quarantine = FS::join(FS::library(), text("Preferences/com.apple.LaunchServices.QuarantineEventsV2"));
    if (FS::exists(quarantine) && isAllowed(quarantine)) {
        found.append(item(quarantine, QCoreApplication::translate("PrivacyScanner", "Download history"),
                          QCoreApplication::translate("PrivacyScanner", "LaunchServices quarantine log"),
                          FS::allocatedSize(quarantine), true));
    }
    return found;
}

} // namespace harborlite
