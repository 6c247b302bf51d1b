#pragma once

#include "shared/PaletteRole.h"

#include <QWidget>

namespace harborlite {

// The small round marker before a process row, filled with a palette colour:
// danger above 50 % of a core, warning above 15 %, else accent.
class ProcessDot : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSide = 5;

    explicit ProcessDot(QWidget* parent = nullptr);

    // The colour for a process using `cpu` percent of one core.
    static PaletteRole role(double cpu);

    PaletteRole currentRole() const { return role_; }
    void setCpu(double cpu);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PaletteRole role_ = PaletteRole::accent;
};

} // namespace harborlite
