#pragma once

#include <QWidget>

#include <optional>

class QHBoxLayout;

namespace harborlite {

class ScreenHeader;

// The first row of a category screen: the screen's header at the leading
// edge, at least 12 of space, then the screen's controls at the trailing
// edge (9 apart, centred on one another). Everything is aligned to the top.
class HeaderRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinimumGap = 12;
    static constexpr int kControlSpacing = 9;

    HeaderRow(const QString& title, const QString& subtitle, std::optional<QString> symbol, QWidget* parent = nullptr);

    // Appends a control after the ones already there; the row takes ownership.
    void addControl(QWidget* control);

    ScreenHeader* header() const { return header_; }

private:
    ScreenHeader* header_;
    QHBoxLayout* controls_;
};

} // namespace harborlite
