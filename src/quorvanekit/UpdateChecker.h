#pragma once

#include "platform/SystemVersion.h"
#include "quorvanekit/AppUpdate.h"
#include "quorvanekit/FeedError.h"
#include "quorvanekit/FeedRequest.h"
#include "quorvanekit/QuorvaneConfiguration.h"
#include "shared/Observable.h"

#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <variant>

class QNetworkAccessManager;

namespace harborlite {

class DefaultsStore;

// Decides whether a newer release is waiting for this machine and tells the
// interface. Checks automatically at most once a day (counted from the last
// check that succeeded) while automatic checks are on, and at once when the
// user asks. Remembers in the defaults store when the last check succeeded,
// which build the user skipped and whether checks run automatically. Lives on
// the GUI thread.
class UpdateChecker : public Observable {
    Q_OBJECT

public:
    // The outcome of a check the user started.
    struct ManualResult {
        enum class Kind {
            failed,
            upToDate,
            updateAvailable,
        };

        Kind kind;
        // For `failed`: the error's description, shown unchanged.
        QString description;

        bool operator==(const ManualResult&) const = default;

        static ManualResult failed(const QString& description) { return {Kind::failed, description}; }
        static ManualResult upToDate() { return {Kind::upToDate, {}}; }
        static ManualResult updateAvailable() { return {Kind::updateAvailable, {}}; }
    };

    // A successful check gives the release that qualifies, if any.
    using CheckResult = std::variant<std::optional<AppUpdate>, FeedError>;

    // Opens a location; returns whether it was accepted.
    using UrlOpener = std::function<bool(const QUrl&)>;

    struct Settings {
        FeedLimits limits;
        UrlOpener opener;
    };

    // The least age, in seconds, of the last successful check before an
    // automatic check runs again.
    static constexpr double interval = 86400;

    // This build's information: "CFBundleShortVersionString" is the project
    // version, "CFBundleVersion" the build number (HARBORLITE_BUILD_NUMBER).
    static QJsonObject mainBundleInformation();

    // `bundleInformation` gives the running version ("CFBundleShortVersionString")
    // and build ("CFBundleVersion"). Times come from the platform clock. A
    // settings opener left empty opens locations with the desktop's default
    // handler. `defaults` must outlive the checker.
    UpdateChecker(const QuorvaneConfiguration& configuration, const QJsonObject& bundleInformation,
                  DefaultsStore& defaults, platform::OperatingSystemVersion systemVersion, Settings settings = {},
                  QObject* parent = nullptr);
    ~UpdateChecker() override;

    // The release that qualified at the last successful check, unless the user
    // put it away since.
    const std::optional<AppUpdate>& available() const { return available_; }
    // True while a check's request runs.
    bool isChecking() const { return isChecking_; }
    // The outcome of the last checkNow(); none before and after clearManualResult().
    const std::optional<ManualResult>& lastManualResult() const { return lastManualResult_; }

    // The stored value when it is a string, else "0".
    const QString& currentVersion() const { return currentVersion_; }
    // The stored value when it is a string holding a decimal integer, else 0.
    qint64 currentBuild() const { return currentBuild_; }
    const QUrl& feedURL() const { return feedURL_; }
    platform::OperatingSystemVersion systemVersion() const { return systemVersion_; }

    // True unless a Boolean false (or the number 0) is stored.
    bool automaticallyChecks() const;
    // Stores the choice, then announces the change.
    void setAutomaticallyChecks(bool checks);

    // Checks when automatic checks are on and no check succeeded in the last
    // `interval` seconds (a stored time ahead of the clock counts as recent).
    // The outcome is dropped; `done` runs when it is over, at once when no
    // check was due.
    void checkIfDue(std::function<void()> done = {});

    // Fetches the feed. On success stores the time of the check and publishes
    // the release when its build is newer than ours, this system can run it,
    // and (unless `ignoringSkip`) it is newer than the skipped build; a
    // release that does not qualify clears `available`. A failure changes
    // neither `available` nor the stored time.
    void check(bool ignoringSkip, std::function<void(CheckResult)> done = {});

    // A check that offers a skipped build again and records its outcome in
    // lastManualResult(). Callers clear the previous result first.
    void checkNow(std::function<void()> done = {});

    void clearManualResult();

    // Whether this system is at least the release's minimum system version.
    bool canRun(const AppUpdate& update) const;

    // Stores the build as skipped and puts the release away when it is the
    // one available.
    void skip(const AppUpdate& update);

    // Puts the available release away until the next successful check.
    void remindLater();

    // Open the download location, or the first present of the release-notes,
    // page and download locations. Only http and https locations are opened;
    // false for any other, and when the opener refuses.
    bool openDownload(const AppUpdate& update) const;
    bool openReleaseNotes(const AppUpdate& update) const;

private:
    bool open(const QUrl& url) const;

    DefaultsStore& defaults_;
    std::optional<AppUpdate> available_;
    bool isChecking_ = false;
    std::optional<ManualResult> lastManualResult_;
    QString currentVersion_;
    qint64 currentBuild_;
    QUrl feedURL_;
    platform::OperatingSystemVersion systemVersion_;
    Settings settings_;
    // Last, so that requests in flight end before anything else goes.
    std::unique_ptr<QNetworkAccessManager> network_;
};

} // namespace harborlite
