// The Applications screen with 500 applications: from building the screen on
// a list the tools already hold to the window laid out and painted, then one
// search keystroke (the query grows by a letter, then is cleared) to the list
// filtered and painted. The peer is a plain QListWidget given the same names
// and the desktop's file icons, filtered by hiding rows. The icons the
// entries name load on workers; the screen paints the file icon until they
// arrive, so the figures are what the user waits for before the list shows.
#include "RoundStats.h"
#include "model/AppModel.h"
#include "model/SystemTools.h"
#include "shared/MemoryDefaults.h"
#include "ui/applications/ApplicationsView.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileIconProvider>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>
#include <vector>

using namespace harborlite;

namespace {

using harborlite::bench::Stats;
using harborlite::bench::stats;

constexpr int kRounds = 9;
constexpr int kApps = 500;

const QStringList kQueries = {QStringLiteral("e"),
                              QStringLiteral("ed"),
                              QStringLiteral("edi"),
                              QStringLiteral("edit"),
                              QStringLiteral("org.example.tool"),
                              QString()};

QList<InstalledApp> generate(const QString& folder)
{
    static const QStringList words = {QStringLiteral("Editor"), QStringLiteral("Player"), QStringLiteral("Viewer"),
                                      QStringLiteral("Tool"), QStringLiteral("Studio")};
    static const QStringList icons = {QStringLiteral("accessories-text-editor"),
                                      QStringLiteral("multimedia-video-player"), QStringLiteral("image-viewer"),
                                      QStringLiteral("applications-utilities"), QString()};
    QList<InstalledApp> apps;
    for (int i = 0; i < kApps; ++i) {
        InstalledApp app;
        const QString word = words.at(i % words.size());
        app.name = word + QLatin1Char(' ') + QString::number(i);
        app.bundleID = QStringLiteral("org.example.") + word.toLower() + QString::number(i);
        app.url = folder + QLatin1Char('/') + word + QString::number(i) + QStringLiteral(".AppImage");
        QFile file(app.url);
        if (file.open(QIODevice::WriteOnly)) {
            file.write("#!/bin/sh\n");
        }
        app.version = QStringLiteral("1.") + QString::number(i % 17);
        app.size = 1000000LL * (i % 97 + 1);
        app.kind = InstalledApp::Kind::appImage;
        app.iconName = icons.at(i % icons.size());
        apps.append(app);
    }
    return apps;
}

void settle()
{
    for (int turn = 0; turn < 4; ++turn) {
        QCoreApplication::processEvents();
    }
}

void report(QTextStream& out, const QString& what, const Stats& s)
{
    out << what << " (ms): min " << s.min << " median " << s.median << " max " << s.max << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Symbols::useIconTheme();
    QTemporaryDir folder;
    const QList<InstalledApp> apps = generate(folder.path());

    MemoryDefaults defaults;
    AppModel::Setup setup;
    setup.engine.installedApps = [apps](const ModelEngine::CancelTest&) { return apps; };
    setup.updateConfiguration = QuorvaneConfiguration("harborlite", QUrl("http://127.0.0.1:9"));
    setup.bundleInformation = {};
    setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
    AppModel model(defaults, std::move(setup));
    model.loadApps();
    while (model.isLoadingApps()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }

    std::vector<double> open;
    std::vector<double> keystroke;
    std::vector<double> peerOpen;
    std::vector<double> peerKeystroke;
    for (int round = 0; round < kRounds; ++round) {
        {
            QElapsedTimer timer;
            timer.start();
            ApplicationsView view(model.systemTools(), model.scanSession(), ScreenServices::real());
            view.resize(1000, 680);
            view.show();
            view.grab();
            open.push_back(timer.nsecsElapsed() / 1e6);
            settle();
            for (const QString& query : kQueries) {
                timer.start();
                view.setQuery(query);
                view.grab();
                keystroke.push_back(timer.nsecsElapsed() / 1e6);
            }
        }
        {
            QElapsedTimer timer;
            timer.start();
            QFileIconProvider provider;
            QListWidget peer;
            for (const InstalledApp& app : apps) {
                auto* item = new QListWidgetItem(provider.icon(QFileInfo(app.url)), app.name, &peer);
                item->setData(Qt::UserRole, app.bundleID);
            }
            peer.setUniformItemSizes(true);
            peer.resize(1000, 680);
            peer.show();
            peer.grab();
            peerOpen.push_back(timer.nsecsElapsed() / 1e6);
            settle();
            for (const QString& query : kQueries) {
                timer.start();
                for (int row = 0; row < peer.count(); ++row) {
                    QListWidgetItem* item = peer.item(row);
                    item->setHidden(!query.isEmpty() && !item->text().contains(query, Qt::CaseInsensitive)
                                    && !item->data(Qt::UserRole).toString().contains(query, Qt::CaseInsensitive));
                }
                peer.grab();
                peerKeystroke.push_back(timer.nsecsElapsed() / 1e6);
            }
        }
    }
    const Stats opened = stats(open);
    const Stats typed = stats(keystroke);
    const Stats peerOpened = stats(peerOpen);
    const Stats peerTyped = stats(peerKeystroke);
    QTextStream out(stdout);
    out << "Applications screen, " << kApps << " applications, " << kRounds << " rounds, " << kQueries.size()
        << " keystrokes a round\n";
    report(out, QStringLiteral("  screen opens on a held list"), opened);
    report(out, QStringLiteral("  peer QListWidget opens with the same names and file icons"), peerOpened);
    report(out, QStringLiteral("  screen, one keystroke filtered and painted"), typed);
    report(out, QStringLiteral("  peer QListWidget, one keystroke by hiding rows"), peerTyped);
    out << "  ratio open / peer (median): " << opened.median / peerOpened.median << "\n";
    out << "  ratio keystroke / peer (median): " << typed.median / peerTyped.median << "\n";
    return 0;
}
