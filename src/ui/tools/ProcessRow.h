#pragma once

#include "engine/services/RunningProcess.h"
#include "shared/PaletteRole.h"

#include <QString>
#include <QWidget>

#include <functional>

class QMenu;

namespace harborlite {

class GlassCompatButton;
class RoleLabel;

// One process: a dot coloured by its processor share, its name and pid, the
// share and the resident memory in fixed columns, and for an application a
// "Quit" button whose context menu offers "Force Quit". A row that is not an
// application keeps the button's room empty, so the columns line up. The row
// turns mint while the pointer is over it. It only reports a quit, through
// `quit` (false for Quit, true for Force Quit).
class ProcessRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 8;
    static constexpr int kIdentitySpacing = 7;
    static constexpr int kPaddingX = 9;
    static constexpr int kPaddingY = 5;
    static constexpr qreal kCornerRadius = 9;
    static constexpr qreal kHoverOpacity = 0.4;
    static constexpr int kDotSide = 6;
    static constexpr int kCpuWidth = 62;
    static constexpr int kMemoryWidth = 78;
    static constexpr int kActionWidth = 60;

    ProcessRow(RunningProcess process, std::function<void(bool force)> quit, QWidget* parent = nullptr);

    // Above 50 danger, above 15 warning, else accent.
    static PaletteRole dotRole(double cpu);
    // One decimal and a percent sign, not clamped: "123.5%".
    static QString cpuText(double cpu);
    static QString memoryText(qint64 bytes);

    const RunningProcess& process() const { return process_; }
    // Shows the same process's newer sample; the hover stays.
    void setProcess(RunningProcess process);
    bool isHovering() const { return isHovering_; }
    // The "Quit" button; none for a process that is not an application.
    GlassCompatButton* quitButton() const { return quit_; }
    // The context menu of the "Quit" button, made as it opens.
    QMenu* makeQuitMenu();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void present(const RunningProcess& process);

    RunningProcess process_;
    std::function<void(bool)> quitRequest_;
    QWidget* dot_;
    RoleLabel* name_;
    RoleLabel* pid_;
    RoleLabel* cpu_;
    RoleLabel* memory_;
    QWidget* actionSlot_;
    GlassCompatButton* quit_ = nullptr;
    bool isHovering_ = false;
};

} // namespace harborlite
