#pragma once

#include "engine/apps/AppCatalog.h"
#include "engine/scanners/CategoryScanner.h"

namespace harborlite {

// Entries at the first level of seven folders of the user's Library whose
// names are reverse-domain identifiers no installed application claims. All of
// them need the user's judgement: one opt-in group, nothing selected.
class LeftoversScanner : public CategoryScanner {
public:
    // `catalog` tells which applications are installed.
    explicit LeftoversScanner(AppCatalog catalog = {});

    ScanCategory category() const override { return ScanCategory::leftovers; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;

    // The identifier as compared with installed bundle identifiers: without a
    // ten-character developer-team prefix and without "groups." or "group.".
    static QString normalize(const QString& identifier);

    // Whether an entry named by the identifier (".savedState" already removed)
    // belongs to no installed application. Every doubt answers no.
    static bool isOrphan(const QString& identifier, const AppCatalog::Identity& identity);

private:
    AppCatalog catalog_;
};

} // namespace harborlite
