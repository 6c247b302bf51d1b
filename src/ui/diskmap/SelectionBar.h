#pragma once

#include "engine/scanners/DiskNode.h"
#include "ui/components/InnerCard.h"
#include "ui/diskmap/RuvozEzazPresentation.h"

#include <functional>

namespace harborlite {

class GlassCompatButton;
class RoleLabel;
class SymbolView;

// The bar under the disk map for the node selected last: its symbol, name
// and location (home as "~", cut in the middle), its size and "Reveal in
// Finder", on the plain inner card with corner radius 14.
class SelectionBar : public InnerCard {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 14;
    static constexpr int kPadding = 11;
    static constexpr int kSpacing = 10;

    // `reveal` is handed the node's location.
    explicit SelectionBar(std::function<void(const QString& path)> reveal, QWidget* parent = nullptr);

    void setNode(const DiskNode& node);
    const RuvozEzazPresentation::SelectionBarLook& look() const { return look_; }
    GlassCompatButton* revealButton() const { return reveal_; }

private:
    std::function<void(const QString&)> revealAction_;
    QString url_;
    RuvozEzazPresentation::SelectionBarLook look_;
    QWidget* symbolHolder_;
    SymbolView* symbol_ = nullptr;
    RoleLabel* name_;
    RoleLabel* location_;
    RoleLabel* size_;
    GlassCompatButton* reveal_;
};

} // namespace harborlite
