#pragma once

#include "engine/models/CategoryResult.h"
#include "engine/models/ScanCategory.h"
#include "shared/PaletteRole.h"

#include <QAbstractButton>

#include <functional>
#include <optional>

namespace harborlite {

class ProgressRing;

// What a summary card shows for its category's state.
struct SummaryCardLook {
    enum class Trailing { nothing, spinner, checkmark, size };

    QString title;
    QString symbol;
    QString statusText;
    // Colours the icon circle and the symbol only.
    PaletteRole statusTint = PaletteRole::accent;
    Trailing trailing = Trailing::nothing;
    // The size found, for Trailing::size.
    QString sizeText;

    bool operator==(const SummaryCardLook&) const = default;
};

// One cell of the Smart Scan grid: a category's symbol, title and one-line
// status, with a spinner, a checkmark or the size found at the trailing edge.
// A title too long for the card wraps onto a second line rather than being
// cut, and the card grows to hold it. The whole card is a flat button;
// hovering highlights it.
class CategorySummaryCard : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int kPadding = 13;
    static constexpr int kSpacing = 12;
    static constexpr qreal kCornerRadius = 16;
    static constexpr qreal kIconSide = 38;
    static constexpr qreal kIconFillOpacity = 0.15;
    static constexpr int kTextSpacing = 2;

    CategorySummaryCard(ScanCategory category, const std::optional<CategoryResult>& result, bool isRunning,
                        std::function<void()> action, QWidget* parent = nullptr);

    static SummaryCardLook look(ScanCategory category, const std::optional<CategoryResult>& result, bool isRunning);

    // Follows the category's latest result and scan state; the hover stays.
    void setState(const std::optional<CategoryResult>& result, bool isRunning);

    ScanCategory category() const { return category_; }
    const SummaryCardLook& currentLook() const { return look_; }
    bool isHovering() const { return isHovering_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // The title's lines at a card width.
    int titleLines(int width) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void placeSpinner();
    qreal trailingWidth() const;
    // Where the texts lie horizontally in a card `width` wide.
    QRectF textRect(qreal width) const;

    ScanCategory category_;
    SummaryCardLook look_;
    std::function<void()> action_;
    bool isHovering_ = false;
    QFont titleFont_;
    QFont statusFont_;
    QFont sizeFont_;
    ProgressRing* spinner_;
};

} // namespace harborlite
