#include "quorvanekit/UpdateChecker.h"

#include "platform/Clock.h"
#include "platform/OpenUrl.h"
#include "shared/DefaultsStore.h"

#include <QNetworkAccessManager>

#include <utility>

namespace harborlite {

namespace {

const QString kAutomaticallyChecksKey = QStringLiteral("QuorvaneKit.update.automaticallyChecks");
const QString kLastCheckKey = QStringLiteral("QuorvaneKit.update.lastCheck");
const QString kSkippedBuildKey = QStringLiteral("QuorvaneKit.update.skippedBuild");

QString versionOf(const QJsonObject& information)
{
    const QJsonValue value = information.value(QStringLiteral("CFBundleShortVersionString"));
    return value.isString() ? value.toString() : QStringLiteral("0");
}

qint64 buildOf(const QJsonObject& information)
{
    const QJsonValue value = information.value(QStringLiteral("CFBundleVersion"));
    return value.isString() ? platform::decimalInteger(value.toString()).value_or(0) : 0;
}

// The feed's location when the build names a server to ask (an http or https
// site with a host); empty otherwise, and then no check ever asks anyone.
QUrl feedOf(const QuorvaneConfiguration& configuration)
{
    const QUrl& site = configuration.siteURL;
    const bool web = site.scheme() == QLatin1String("https") || site.scheme() == QLatin1String("http");
    return site.isValid() && web && !site.host().isEmpty() ? configuration.updateFeedURL() : QUrl();
}

double secondsSince1970(const QDateTime& date)
{
    return static_cast<double>(date.toMSecsSinceEpoch()) / 1000.0;
}

bool isWebLocation(const QUrl& url)
{
    const QString scheme = url.scheme();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

} // namespace

QJsonObject UpdateChecker::mainBundleInformation()
{
    return {
        {QStringLiteral("CFBundleShortVersionString"), QStringLiteral(HARBORLITE_VERSION)},
        {QStringLiteral("CFBundleVersion"), QStringLiteral(HARBORLITE_BUILD_NUMBER)},
    };
}

UpdateChecker::UpdateChecker(const QuorvaneConfiguration& configuration, const QJsonObject& bundleInformation,
                             DefaultsStore& defaults, platform::OperatingSystemVersion systemVersion, Settings settings,
                             QObject* parent)
    : Observable(parent)
    , defaults_(defaults)
    , currentVersion_(versionOf(bundleInformation))
    , currentBuild_(buildOf(bundleInformation))
    , feedURL_(feedOf(configuration))
    , systemVersion_(systemVersion)
    , settings_(std::move(settings))
    , network_(std::make_unique<QNetworkAccessManager>())
{
    if (!settings_.opener) {
        settings_.opener = [](const QUrl& url) { return platform::openUrl(url); };
    }
}

UpdateChecker::~UpdateChecker() = default;

bool UpdateChecker::automaticallyChecks() const
{
    return defaults_.boolean(kAutomaticallyChecksKey).value_or(true);
}

void UpdateChecker::setAutomaticallyChecks(bool checks)
{
    defaults_.setValue(kAutomaticallyChecksKey, checks);
    emit objectWillChange();
    emit didChange();
}

void UpdateChecker::checkIfDue(std::function<void()> done)
{
    const double lastCheck = defaults_.doubleValue(kLastCheckKey);
    const bool recent = lastCheck > 0 && secondsSince1970(platform::now()) - lastCheck < interval;
    if (feedURL_.isEmpty() || !automaticallyChecks() || recent) {
        if (done) {
            done();
        }
        return;
    }
    check(false, [done = std::move(done)](const CheckResult&) {
        if (done) {
            done();
        }
    });
}

void UpdateChecker::check(bool ignoringSkip, std::function<void(CheckResult)> done)
{
    // A build without a site asks no one and finds nothing, storing nothing.
    if (feedURL_.isEmpty()) {
        if (done) {
            done(std::optional<AppUpdate>());
        }
        return;
    }
    publish(isChecking_, true);
    requestFeed(*network_, feedURL_, settings_.limits, [this, ignoringSkip, done = std::move(done)](FeedResult result) {
        CheckResult outcome = std::optional<AppUpdate>();
        if (auto* error = std::get_if<FeedError>(&result)) {
            outcome = *error;
        } else {
            const AppUpdate& update = std::get<AppUpdate>(result);
            defaults_.setValue(kLastCheckKey, secondsSince1970(platform::now()));
            const bool qualifies = update.build > currentBuild_ && canRun(update)
                && (ignoringSkip || defaults_.integerValue(kSkippedBuildKey) < update.build);
            std::optional<AppUpdate> offered = qualifies ? std::optional<AppUpdate>(update) : std::nullopt;
            publish(available_, offered);
            outcome = std::move(offered);
        }
        publish(isChecking_, false);
        if (done) {
            done(std::move(outcome));
        }
    });
}

void UpdateChecker::checkNow(std::function<void()> done)
{
    // Without a site there is no outcome to record: the sheet says the build
    // has no update site, never that a check failed.
    if (feedURL_.isEmpty()) {
        if (done) {
            done();
        }
        return;
    }
    check(true, [this, done = std::move(done)](const CheckResult& result) {
        if (const auto* error = std::get_if<FeedError>(&result)) {
            publish(lastManualResult_, ManualResult::failed(error->description));
        } else if (std::get<std::optional<AppUpdate>>(result)) {
            publish(lastManualResult_, ManualResult::updateAvailable());
        } else {
            publish(lastManualResult_, ManualResult::upToDate());
        }
        if (done) {
            done();
        }
    });
}

void UpdateChecker::clearManualResult()
{
    publish(lastManualResult_, std::nullopt);
}

bool UpdateChecker::canRun(const AppUpdate& update) const
{
    if (!update.minimumSystemVersion) {
        return true;
    }
    return systemVersion_ >= platform::versionFromText(*update.minimumSystemVersion);
}

void UpdateChecker::skip(const AppUpdate& update)
{
    defaults_.setValue(kSkippedBuildKey, update.build);
    if (available_ == update) {
        publish(available_, std::nullopt);
    }
}

void UpdateChecker::remindLater()
{
    publish(available_, std::nullopt);
}

bool UpdateChecker::openDownload(const AppUpdate& update) const
{
    return open(update.downloadUrl);
}

bool UpdateChecker::openReleaseNotes(const AppUpdate& update) const
{
    return open(update.releaseNotesUrl.value_or(update.pageUrl.value_or(update.downloadUrl)));
}

bool UpdateChecker::open(const QUrl& url) const
{
    return isWebLocation(url) && settings_.opener(url);
}

} // namespace harborlite
