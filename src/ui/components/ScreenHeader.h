#pragma once

#include <QWidget>

#include <optional>

namespace harborlite {

class RoleLabel;

// The title row at the top of a screen: an optional 24-pixel symbol in the
// accent gradient whose foot sits on the title's baseline, the 30-pixel title
// and a wrapping subtitle, taking the full width with its content at the
// leading edge. No padding or background of its own.
class ScreenHeader : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kSymbolSide = 24;
    static constexpr int kSpacing = 14;
    static constexpr int kLineSpacing = 4;

    ScreenHeader(const QString& title, const QString& subtitle, std::optional<QString> symbol = std::nullopt,
                 QWidget* parent = nullptr);

    // How far below the title's top the symbol starts so that its foot lies
    // on the title's first baseline.
    static qreal symbolTopOffset(qreal titleAscent, qreal symbolSide);

    RoleLabel* titleLabel() const { return title_; }
    RoleLabel* subtitleLabel() const { return subtitle_; }
    QWidget* symbolView() const { return symbol_; }

private:
    RoleLabel* title_;
    RoleLabel* subtitle_;
    QWidget* symbol_ = nullptr;
};

} // namespace harborlite
