#pragma once

#include "engine/models/RunningProcess.h"
#include "shared/PaletteRole.h"

#include <QPointer>
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
// `quit`, with the process the row showed when the button was pressed or its
// menu opened (a newer sample may arrive before the release) and false for
// Quit, true for Force Quit.
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

    using QuitRequest = std::function<void(const RunningProcess& process, bool force)>;

    ProcessRow(RunningProcess process, QuitRequest quit, QWidget* parent = nullptr);
    ~ProcessRow() override;

    // Above 50 danger, above 15 warning, else accent.
    static PaletteRole dotRole(double cpu);
    // One decimal and a percent sign, not clamped: "123.5%".
    static QString cpuText(double cpu);
    static QString memoryText(qint64 bytes);

    const RunningProcess& process() const { return process_; }
    // Shows the same process's newer sample; the hover stays.
    void setProcess(RunningProcess process);
    bool isHovering() const { return isHovering_; }
    // The "Quit" button is held down or its menu is open.
    bool isHeld() const;
    // The "Quit" button; none for a process that is not an application.
    GlassCompatButton* quitButton() const { return quit_; }
    // The context menu of the "Quit" button, made as it opens.
    QMenu* makeQuitMenu();

signals:
    // The button was pressed or let go, or its menu opened or closed.
    void heldChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void present(const RunningProcess& process);

    RunningProcess process_;
    QuitRequest quitRequest_;
    // What the row showed when "Quit" was last pressed.
    RunningProcess pressed_;
    QPointer<QMenu> menu_;
    bool isMenuOpen_ = false;
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
