#pragma once

#include "engine/scanners/CategoryScanner.h"

namespace harborlite {

// Attachment files the mail application stored and can fetch again: every
// "Attachments" folder inside the accounts of its message store, each
// measured whole, and the entries of its Mail Downloads folder. Everything
// starts selected; nothing is opt-in. Only four progress reports are sent.
class MailAttachmentsScanner : public CategoryScanner {
public:
    ScanCategory category() const override { return ScanCategory::mailAttachments; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;

private:
    // The Attachments folders below one account folder, in walk order.
    QList<ScanItem> attachments(const QString& account, bool requiresReview, const CancelPredicate& isCancelled) const;
};

} // namespace harborlite
