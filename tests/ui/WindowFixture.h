#pragma once

#include "model/AppModelSetup.h"
#include "model/FakeEngine.h"
#include "quorvanekit/FeedServer.h"
#include "shared/MemoryDefaults.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

#include <atomic>
#include <memory>

namespace harborlite::test {

// A model over stand-in services for the window's tests: the access probe
// answers what the test sets, samples are the test's snapshot, scans finish at
// once, and the update feed is a local server. The monitoring loop's later
// ticks never run; the first sample does.
struct WindowFixture {
    static constexpr char feedPath[] = "/api/v1/apps/harborlite/latest.json";

    MemoryDefaults defaults;
    ScanScript script;
    FeedServer feed;
    std::shared_ptr<std::atomic<bool>> access = std::make_shared<std::atomic<bool>>(true);
    std::shared_ptr<std::atomic<int>> probes = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> samples = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(4);
    QList<QUrl> opened;
    SystemSnapshot snapshot;
    std::unique_ptr<AppModel> model;

    WindowFixture() = default;
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    ~WindowFixture()
    {
        script.releaseAll();
        model.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    AppModel::Setup setup()
    {
        AppModel::Setup made;
        made.engine = quietEngine();
        ModelEngine& engine = made.engine;
        engine.scanner = [this](ScanCategory category) { return script.scanner(category); };
        engine.hasFullDiskAccess = [access = access, probes = probes] {
            ++*probes;
            return access->load();
        };
        engine.makeSampler = [samples = samples, shown = snapshot] {
            return ModelEngine::Sampler([samples, shown] {
                ++*samples;
                return shown;
            });
        };
        made.updateConfiguration = QuorvaneConfiguration(QStringLiteral("harborlite"), feed.site());
        made.bundleInformation = {{QStringLiteral("CFBundleShortVersionString"), QStringLiteral("1.0")},
                                  {QStringLiteral("CFBundleVersion"), QStringLiteral("100")}};
        made.systemVersion = {13, 0, 0};
        made.updateSettings.opener = [this](const QUrl& url) {
            opened.append(url);
            return true;
        };
        made.runner = runner;
        made.scheduleTick = [](QObject*, double, std::function<void()>) {};
        return made;
    }

    AppModel& makeModel()
    {
        model = std::make_unique<AppModel>(defaults, setup());
        return *model;
    }

    // A release of `build` with the given notes (and release date, if any).
    static QByteArray release(qint64 build, const QStringList& notes,
                              const std::optional<QString>& releasedAt = std::nullopt)
    {
        QJsonObject object{
            {QStringLiteral("version"), QStringLiteral("2.0")},
            {QStringLiteral("build"), build},
            {QStringLiteral("downloadUrl"), QStringLiteral("https://example.org/download")},
            {QStringLiteral("releaseNotesUrl"), QStringLiteral("https://example.org/notes")},
            {QStringLiteral("notes"), QJsonArray::fromStringList(notes)},
        };
        if (releasedAt) {
            object.insert(QStringLiteral("releasedAt"), *releasedAt);
        }
        return QJsonDocument(object).toJson();
    }

    void serve(FeedServer::Response response) { feed.serve(feedPath, std::move(response)); }

    // Runs a manual check to its end.
    void checkNow()
    {
        bool done = false;
        model->updates().checkNow([&done] { done = true; });
        waitFor([&done] { return done; });
    }

    // Publishes a release as available.
    void makeAvailable(const QStringList& notes = {QStringLiteral("Faster scans")},
                       const std::optional<QString>& releasedAt = std::nullopt)
    {
        serve({200, release(200, notes, releasedAt)});
        checkNow();
    }

    // Lets the window's queued refreshes run.
    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
};

} // namespace harborlite::test
