#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The one gate every removal candidate passes: scanners ask before they list
// an item and the removal engine asks again right before it removes it. The
// guard keeps no state; every call reads the file system afresh.
namespace harborlite::SafetyGuard {

struct Verdict {
    bool allowed = true;
    // Why the path is refused, worded for the user; empty when allowed.
    QString message;

    bool operator==(const Verdict&) const = default;
};

// What a judgement reads of the machine: the home and Library folders with
// their links resolved, the folders pinned as they are, the personal folders
// (relative to the home) and the mount points. verdict() takes it afresh; a
// scan asking about many paths takes it once.
struct Context {
    QString home;
    QString library;
    QStringList pinned;
    QSet<QString> mountPoints;
    // The personal folders and the places of live data as whole paths, joined
    // once: a scan asks about thousands of files with one context.
    QStringList personalPaths;
    QStringList livePaths;
};
Context context();

// Judges an absolute path by fixed rules in a fixed order; the first rule that
// matches refuses. A relative path is refused as it is, never resolved against
// the working folder. Otherwise dot and dot-dot steps and symbolic links are
// resolved as far as the path exists (the rest is judged as text), and the
// path is judged both as written and as the kernel would walk it: a refusal of
// either refuses. `userSelected` only lifts the rule on personal folders. Live
// data is refused to every caller: the Library's (Keychains, Messages...) and
// the home's secret stores (.ssh, .gnupg, .local/share/keyrings, .password-store).
Verdict verdict(const QString& path, bool userSelected);
Verdict verdict(const QString& path, bool userSelected, const Context& context);

// The verdict on the entry `name` of a folder whose path, `realFolder`, is
// already free of links and dot steps (a root resolved once, or a folder a
// walk reached without following a link): only the entry itself is resolved,
// when it is a link.
Verdict verdictOfEntry(const QString& realFolder, const QString& name, bool userSelected, const Context& context);
// The verdict on a path that is itself free of links and dot steps (a file a
// walk found without following a link), judged as it is.
Verdict verdictOfRealPath(const QString& realPath, bool userSelected, const Context& context);

// How a scanner may use one of its roots (a folder it lists or walks), its
// links resolved once. A root that reaches its place without a link is used
// as it is. One that goes through a link is skipped when its real path is the
// home or above it, is refused by the guard, or lies inside the home or a
// pinned folder without being a cache of its own (a step named like "cache");
// otherwise what is found there is judged on the real path, and starts
// deselected for review when that lies outside the home (a cache on another
// disk stays visible, never preselected). A missing root is skipped silently.
struct RootUse {
    // Where the root really is; empty when it is skipped.
    QString realPath;
    // The root went through a link: items are named by the real path, so
    // removing them never depends on where the link points later.
    bool throughLink = false;
    bool needsReview = false;

    bool skipped() const { return realPath.isEmpty(); }
};
RootUse rootUse(const QString& root, const Context& context);

// The same for a root whose items all start deselected for review (a scan of
// the user's own folders): a link is followed wherever the guard allows the
// place it leads to, as an item the user picked, inside the home or on
// another disk; never to the home or above it. Every item found there is
// judged on the real path.
RootUse reviewedRootUse(const QString& root, const Context& context);

// Whether the application bundle at the path belongs to the operating system:
// anything under /System/Applications, or an ".app" bundle whose identifier is
// one of the system's own or starts with "com.apple." outside /Applications.
bool isSystemApplication(const QString& path);

// The same decision for a bundle whose identifier is already known (the
// application catalogue has read it), without opening the bundle again.
bool isSystemApplication(const QString& path, const QString& identifier);

} // namespace harborlite::SafetyGuard
