#pragma once

#include "engine/models/ScanCategory.h"
#include "ui/results/ResultsPresentation.h"

#include <QTimer>
#include <QWidget>

#include <functional>

class QHBoxLayout;

namespace harborlite {

class GlassCompatButton;
class RoleLabel;
class StatusPill;

// The header of a category's card in the results list: the category's symbol
// and title, then one state cluster: a small spinner with the scan's message
// while it runs; the result's pill and a plain "Rescan" button; or a
// prominent "Scan" button before any result. Both buttons call `scan`.
class CategorySectionHeader : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 9;
    static constexpr int kClusterSpacing = 7;
    static constexpr qreal kSymbolSide = 15;
    static constexpr qreal kSpinnerSide = 12;

    CategorySectionHeader(ScanCategory category, std::function<void()> scan, QWidget* parent = nullptr);

    ScanCategory category() const { return category_; }
    void present(const ResultsPresentation::Section& section);
    const ResultsPresentation::Section& presented() const { return section_; }

    // The button shown now ("Scan" or "Rescan"); none while the scan runs.
    GlassCompatButton* visibleButton() const;
    StatusPill* pill() const { return pill_; }
    RoleLabel* messageLabel() const { return message_; }
    bool isSpinning() const;

private:
    ScanCategory category_;
    std::function<void()> scan_;
    ResultsPresentation::Section section_;
    QWidget* spinner_;
    RoleLabel* message_;
    StatusPill* pill_ = nullptr;
    GlassCompatButton* scanButton_;
    GlassCompatButton* rescanButton_;
    QHBoxLayout* cluster_;
};

} // namespace harborlite
