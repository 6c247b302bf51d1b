#pragma once

#include "engine/scanners/CategoryScanner.h"

namespace harborlite {

// The stores in which browsers and the system keep a trail of the user's
// activity: browser history, cookie, session and top-site stores, Firefox
// profile databases, recent-item lists and the download quarantine log.
// Every item needs the user's judgement: opt-in groups, nothing selected.
class PrivacyScanner : public CategoryScanner {
public:
    struct Trace {
        QString label;
        // Inside the browser's profile folder; empty for the folder itself.
        QString relative;
    };

    struct Browser {
        QString name;
        // The profile folders looked at, in order: the browser's folder in the
        // user's Library, then where the browser keeps it on Linux.
        QStringList roots;
        QList<Trace> traces;
    };

    ScanCategory category() const override { return ScanCategory::privacy; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;

    // The browsers looked at, in order, with their folders under the current home.
    static QList<Browser> browsers();

private:
    QList<ScanItem> firefoxTraces(const CancelPredicate& isCancelled) const;
    QList<ScanItem> recentItemTraces(const CancelPredicate& isCancelled) const;
};

} // namespace harborlite
