#pragma once

#include "paint/Palette.h"
#include "quorvanekit/UpdateChecker.h"
#include "ui/components/CoalescedRefresh.h"

#include <QDialog>

#include <functional>
#include <optional>

class QAbstractButton;
class QCheckBox;
class QVBoxLayout;

namespace harborlite {

class AppModel;
class GlassCompatButton;

// The sheet that tells where the application stands with updates: the
// details of an available release, a check in progress, a failed check the
// user asked for, that this version is current, or that this build has no
// update site to ask. It follows the checker
// live, never starts a check itself, and closes only through `onClose`, which
// Escape, "Close" and "Skip this version" call.
class UpdateSheet : public QDialog {
    Q_OBJECT

public:
    static constexpr int kWidth = 520;

    enum class State {
        available,
        checking,
        failed,
        upToDate,
        // The build names no update server.
        noSite,
    };

    // What the sheet shows: the first rule that holds wins.
    struct Content {
        State state = State::upToDate;
        // The available state's release.
        std::optional<AppUpdate> update;
        // The other states' symbol (none: a spinner), title and detail.
        std::optional<QString> symbol;
        QString title;
        QString detail;

        bool operator==(const Content&) const = default;
    };

    static Content content(const UpdateChecker& updates);
    // The header's second line: "You have <version> (<build>)" and, when the
    // release gives one, " · released <date>" exactly as received.
    static QString installedLine(const QString& currentVersion, qint64 currentBuild, const AppUpdate& update);

    UpdateSheet(AppModel& model, UpdateChecker& updates, std::function<void()> onClose, QWidget* parent = nullptr);

    State state() const { return shown_.state; }
    QCheckBox* automaticCheckBox() const { return automatic_; }
    GlassCompatButton* closeButton() const { return close_; }
    // The available state's buttons; null in the other states.
    GlassCompatButton* downloadButton() const { return download_; }
    GlassCompatButton* releaseNotesButton() const { return releaseNotes_; }
    QAbstractButton* skipButton() const { return skip_; }

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Gives the standard controls (the checkbox) the palette of the
    // appearance the sheet is drawn in.
    void followAppearance();
    void scheduleRefresh();
    void refresh();
    void rebuild(const Content& content);
    QWidget* buildAvailable(const AppUpdate& update);
    QWidget* buildStatus(const Content& content);

    UpdateChecker& updates_;
    std::function<void()> onClose_;
    Content shown_;
    bool built_ = false;
    std::optional<Appearance> appearance_;
    CoalescedRefresh refresher_{this, [this] { refresh(); }};
    QVBoxLayout* stateBox_;
    QWidget* stateWidget_ = nullptr;
    QCheckBox* automatic_;
    GlassCompatButton* close_;
    GlassCompatButton* download_ = nullptr;
    GlassCompatButton* releaseNotes_ = nullptr;
    QAbstractButton* skip_ = nullptr;
};

} // namespace harborlite
