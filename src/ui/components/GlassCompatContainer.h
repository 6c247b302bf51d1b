#pragma once

#include <QWidget>

class QVBoxLayout;

namespace harborlite {

// Stacks its children vertically, `spacing` apart, each centred horizontally.
class GlassCompatContainer : public QWidget {
    Q_OBJECT

public:
    explicit GlassCompatContainer(qreal spacing, QWidget* parent = nullptr);

    qreal spacing() const { return spacing_; }
    void addWidget(QWidget* child);

private:
    qreal spacing_;
    QVBoxLayout* layout_;
};

} // namespace harborlite
