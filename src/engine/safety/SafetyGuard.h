#pragma once

#include <QString>

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

// Judges an absolute path by fixed rules in a fixed order; the first rule that
// matches refuses. A relative path is refused as it is, never resolved against
// the working folder. Otherwise dot and dot-dot steps and symbolic links are
// resolved as far as the path exists (the rest is judged as text), and the
// path is judged both as written and as the kernel would walk it: a refusal of
// either refuses. `userSelected` only lifts the rule on personal folders.
Verdict verdict(const QString& path, bool userSelected);

// Whether the application bundle at the path belongs to the operating system:
// anything under /System/Applications, or an ".app" bundle whose identifier is
// one of the system's own or starts with "com.apple." outside /Applications.
bool isSystemApplication(const QString& path);

// The same decision for a bundle whose identifier is already known (the
// application catalogue has read it), without opening the bundle again.
bool isSystemApplication(const QString& path, const QString& identifier);

} // namespace harborlite::SafetyGuard
