// The window through a Smart Scan of a large home: the root view over a real
// application model and the machine's own scanners, offscreen, while a
// generated home of about 1.5 million entries is scanned. Each round opens a
// fresh window on the Smart Scan screen, presses Scan, moves to the Cleanup
// screen once System Junk has been scanned, and when the scan is done expands
// the largest group, ticks items and the group one by one, scrolls the screen
// and goes back to Smart Scan.
//
// Two clocks run on the GUI thread all the while: a 1 ms heartbeat, whose gaps
// are the times the thread was busy (a gap over 50 ms is a stall), and a 60 Hz
// frame clock, whose tick-to-tick times are the frame times (a frame over
// 16.7 ms came late). Beside the wall-clock times it reports the GUI thread's
// own processor time over the same spans, which a busy machine does not
// stretch: a span can come late because other programs had the processor,
// but its processor time is the window's own work. Late frames are counted
// apart for the scan and for the review after it: a frame comes late whenever
// more than 0.7 ms of work overlaps its tick, as a click's repaint or a scroll
// step often does. Every event the application delivers is timed, and the
// report lays each late frame to the event that ran over the time it was due
// (a repaint shows as an update request of the window). The home lives in a
// temporary folder and is removed at the end, unless a folder is named: an existing one is scanned as it is, a
// new one is generated there and kept (so runs of two builds scan one home).
//
//   smart_scan_stalls [rounds] [home]
#include "RoundStats.h"
#include "model/AppModel.h"
#include "shared/MemoryDefaults.h"
#include "ui/cleaning/CategoryListScreen.h"
#include "ui/components/ScreenFrame.h"
#include "ui/results/ResultsList.h"
#include "ui/results/ResultsModel.h"
#include "ui/shell/RootView.h"
#include "ui/theme/Symbols.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace harborlite;

namespace {

using harborlite::bench::Stats;
using harborlite::bench::stats;

constexpr double kStallMs = 50;
constexpr double kFrameBudgetMs = 16.7;

// Writes a home: Library and Linux caches, logs, a large Trash, leftovers of
// absent applications (a few with very long identifiers), mail attachments,
// browser profiles, a few installers and media, and documents no smart-scan
// category reads. One file in sixteen is 4 KiB long and the large ones are
// megabytes long, all sparse; the rest are empty, so the home holds no data
// beyond its folders.
class HomeWriter {
public:
    explicit HomeWriter(std::string root)
        : root_(std::move(root))
    {
    }

    long entries() const { return entries_; }

    void folder(const std::string& path)
    {
        if (::mkdir((root_ + "/" + path).c_str(), 0755) == 0) {
            ++entries_;
        }
    }

    // Creates every missing folder of `path`.
    void folders(const std::string& path)
    {
        std::string::size_type at = 0;
        while ((at = path.find('/', at + 1)) != std::string::npos) {
            folder(path.substr(0, at));
        }
        folder(path);
    }

    void file(const std::string& path, long bytes = -1)
    {
        const int fd = ::open((root_ + "/" + path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            return;
        }
        ++entries_;
        const long size = bytes >= 0 ? bytes : (entries_ % 16 == 0 ? 4096 : 0);
        if (size > 0) {
            [[maybe_unused]] const int sized = ::ftruncate(fd, size);
        }
        ::close(fd);
    }

    void text(const std::string& path, const std::string& content)
    {
        const int fd = ::open((root_ + "/" + path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            return;
        }
        ++entries_;
        [[maybe_unused]] const ssize_t written = ::write(fd, content.data(), content.size());
        ::close(fd);
    }

    // `count` folders under `parent`, each with `files` files in `subfolders` folders.
    void caches(const std::string& parent, const std::string& stem, int count, int subfolders, int files)
    {
        folders(parent);
        for (int i = 0; i < count; ++i) {
            const std::string entry = parent + "/" + stem + std::to_string(i);
            folder(entry);
            for (int s = 0; s < subfolders; ++s) {
                const std::string sub = entry + "/part" + std::to_string(s);
                folder(sub);
                for (int f = 0; f < files; ++f) {
                    file(sub + "/blob" + std::to_string(f) + kinds[f % std::size(kinds)]);
                }
            }
        }
    }

    void fill()
    {
        caches("Library/Caches", "com.example.app", 2500, 4, 25);
        caches(".cache", "cache-", 2500, 4, 25);
        caches("Library/Logs", "Service", 1000, 1, 20);

        // The Trash: folders of files and loose files, each with its info file.
        const std::string trash = ".local/share/Trash";
        folders(trash + "/files");
        folder(trash + "/info");
        for (int i = 0; i < 25000; ++i) {
            const bool isFolder = i % 10 == 0;
            const std::string name =
                (isFolder ? "album-" : "note-") + std::to_string(i) + (isFolder ? "" : kinds[i % std::size(kinds)]);
            if (isFolder) {
                folder(trash + "/files/" + name);
                for (int f = 0; f < 120; ++f) {
                    file(trash + "/files/" + name + "/photo" + std::to_string(f) + ".jpg");
                }
            } else {
                file(trash + "/files/" + name);
            }
            text(trash + "/info/" + name + ".trashinfo",
                 "[Trash Info]\nPath=" + root_ + "/Documents/" + name + "\nDeletionDate=2025-01-02T03:04:05\n");
        }

        // Leftovers of applications that are not installed.
        folders("Library/Application Support");
        for (int i = 0; i < 2000; ++i) {
            const std::string id = i % 100 == 0 ? "org.example.an-application-with-a-remarkably-long-identifier-"
                                                  "that-goes-on-past-any-column-width-number-"
                    + std::to_string(i)
                                                : "com.vendor" + std::to_string(i) + ".product";
            const std::string entry = "Library/Application Support/" + id;
            folder(entry);
            for (int f = 0; f < 50; ++f) {
                file(entry + "/data" + std::to_string(f) + ".db");
            }
        }
        caches("Library/Containers", "com.vendor", 500, 1, 20);

        // Mail attachments.
        const std::string mail = "Library/Mail/V10/4C1A-ACCOUNT/INBOX.mbox/Messages/Attachments";
        folders(mail);
        for (int i = 0; i < 10000; ++i) {
            folder(mail + "/" + std::to_string(i));
            file(mail + "/" + std::to_string(i) + "/invoice.pdf");
            file(mail + "/" + std::to_string(i) + "/scan.png");
        }

        // Browser traces.
        folders(".config/google-chrome/Default/Network");
        file(".config/google-chrome/Default/History", 8192);
        file(".config/google-chrome/Default/Network/Cookies", 8192);
        folders(".mozilla/firefox/k3x9.default-release");
        file(".mozilla/firefox/k3x9.default-release/places.sqlite", 8192);

        // Installers and media: a few large files.
        folders("Downloads");
        for (int i = 0; i < 3; ++i) {
            file("Downloads/tool-" + std::to_string(i) + ".deb", 6'000'000);
            const std::string path = root_ + "/Downloads/tool-" + std::to_string(i) + ".deb";
            const timespec old[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
            ::utimensat(AT_FDCWD, path.c_str(), old, 0);
        }
        folders("Music/Music/Media/Downloads");
        for (int i = 0; i < 3; ++i) {
            file("Music/Music/Media/Downloads/episode-" + std::to_string(i) + ".m4a", 11'000'000);
        }

        // Documents that no smart-scan category walks.
        caches("Documents/projects", "project-", 4000, 10, 10);
    }

private:
    static constexpr const char* kinds[] = {".png", ".txt", ".pdf", ".zip", ".json", ".mp3", ".bin", ".html"};

    std::string root_;
    long entries_ = 0;
};

double threadMilliseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The application, timing every event it delivers at the top level: each one
// that takes longer than a frame can spare is counted against its event type
// and receiver, so the report names the work that makes frames late.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (depth_ > 0 || !recording_) {
            ++depth_;
            const bool handled = QApplication::notify(receiver, event);
            --depth_;
            return handled;
        }
        // The receiver may be gone once the event is delivered.
        const QEvent::Type type = event->type();
        const QMetaObject* meta = receiver->metaObject();
        const QString objectName = receiver->objectName();
        const double start = now();
        ++depth_;
        const bool handled = QApplication::notify(receiver, event);
        --depth_;
        const double end = now();
        const double spent = end - start;
        if (spent > kSpare) {
            QString name = QString::fromLatin1(meta->className());
            if (!objectName.isEmpty()) {
                name += QLatin1Char('#') + objectName;
            }
            if (type == QEvent::MetaCall) {
                name += QStringLiteral(" (queued call)");
            }
            const QString label = phase_ + QStringLiteral(": ") + QString::number(int(type)) + QLatin1Char(' ') + name;
            Cost& cost = costs_[label];
            spans_.push_back({start, end, label});
            ++cost.count;
            cost.total += spent;
            cost.longest = std::max(cost.longest, spent);
        }
        return handled;
    }

    // Milliseconds on the clock both the events and the frame ticks are timed by.
    static double now()
    {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }

    // A frame tick that came `span` ms after the one before it: a late one is
    // laid to the event that ran longest over the time it was due.
    void tick(double at, double span, double interval)
    {
        if (!recording_ || span <= kFrameBudgetMs) {
            return;
        }
        const double due = at - span + interval;
        const Span* worst = nullptr;
        double overlap = 0;
        for (auto it = spans_.rbegin(); it != spans_.rend() && it->end > due - 100; ++it) {
            const double shared = std::min(it->end, at) - std::max(it->start, due);
            if (shared > overlap) {
                overlap = shared;
                worst = &*it;
            }
        }
        ++lateFrames_[worst ? worst->label : phase_ + QStringLiteral(": (no event of ours)")];
    }

    void record(const QString& phase)
    {
        phase_ = phase;
        recording_ = !phase.isEmpty();
    }

    // The events that took longer than a frame can spare, the costliest first.
    void report(QTextStream& out, int rows) const
    {
        out << "late frames by the event that ran over the time they were due:\n";
        for (const auto& [label, count] : lateFrames_) {
            out << "  " << label << ": " << count << "\n";
        }
        std::vector<std::pair<QString, Cost>> sorted(costs_.begin(), costs_.end());
        std::sort(sorted.begin(), sorted.end(),
                  [](const auto& a, const auto& b) { return a.second.total > b.second.total; });
        out << "GUI-thread events over " << kSpare
            << " ms of work (phase: event type, receiver): count, total ms, longest ms\n";
        for (int i = 0; i < rows && i < int(sorted.size()); ++i) {
            const Cost& cost = sorted[std::size_t(i)].second;
            out << "  " << sorted[std::size_t(i)].first << ": " << cost.count << ", " << cost.total << ", "
                << cost.longest << "\n";
        }
    }

private:
    static constexpr double kSpare = 0.7;
    struct Cost {
        int count = 0;
        double total = 0;
        double longest = 0;
    };
    struct Span {
        double start;
        double end;
        QString label;
    };
    int depth_ = 0;
    bool recording_ = false;
    std::vector<Span> spans_;
    std::map<QString, int> lateFrames_;
    QString phase_;
    std::map<QString, Cost> costs_;
};

TimedApplication* timedApp()
{
    return static_cast<TimedApplication*>(QCoreApplication::instance());
}

// One clock's spans: wall-clock and the GUI thread's processor time.
struct Spans {
    std::vector<double> wall;
    std::vector<double> work;
};

// The GUI thread's two clocks.
class Clocks {
public:
    Clocks()
    {
        heartbeat_.setTimerType(Qt::PreciseTimer);
        heartbeat_.setInterval(1);
        QObject::connect(&heartbeat_, &QTimer::timeout, [this] { mark(beats_, lastBeat_); });
        frames_.setTimerType(Qt::PreciseTimer);
        frames_.setInterval(16);
        QObject::connect(&frames_, &QTimer::timeout, [this] {
            mark(frameSpans_, lastFrame_);
            timedApp()->tick(TimedApplication::now(), frameSpans_.wall.back(), frames_.interval());
        });
    }

    void start()
    {
        clock_.start();
        lastBeat_ = lastFrame_ = {0, threadMilliseconds()};
        heartbeat_.start();
        frames_.start();
    }

    void stop()
    {
        heartbeat_.stop();
        frames_.stop();
    }

    const Spans& gaps() const { return beats_; }
    const Spans& frames() const { return frameSpans_; }
    std::size_t frameCount() const { return frameSpans_.wall.size(); }
    double seconds() const { return clock_.nsecsElapsed() / 1e9; }

private:
    struct Mark {
        double wall = 0;
        double work = 0;
    };

    void mark(Spans& spans, Mark& last)
    {
        const Mark now{clock_.nsecsElapsed() / 1e6, threadMilliseconds()};
        spans.wall.push_back(now.wall - last.wall);
        spans.work.push_back(now.work - last.work);
        last = now;
    }

    QElapsedTimer clock_;
    QTimer heartbeat_;
    QTimer frames_;
    Mark lastBeat_;
    Mark lastFrame_;
    Spans beats_;
    Spans frameSpans_;
};

// Waits, running the event loop, until `done` holds.
void waitUntil(const std::function<bool()>& done)
{
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
}

// Runs the event loop for `ms` milliseconds.
void pause(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
}

void click(QWidget* widget, const QPoint& at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// What one clock saw over a round.
struct Tally {
    int count = 0;
    int over = 0;
    double longest = 0;
};

Tally tally(const std::vector<double>& spans, double limit)
{
    Tally made;
    made.count = static_cast<int>(spans.size());
    for (double span : spans) {
        made.longest = std::max(made.longest, span);
        made.over += span > limit ? 1 : 0;
    }
    return made;
}

struct Round {
    double seconds = 0;
    Tally frames;
    // The frames until the scan ended, and those of the review after it
    // (expanding, ticking, scrolling, going back).
    Tally scanFrames;
    Tally reviewFrames;
    Tally frameWork;
    Tally gaps;
    Tally gapWork;
    std::vector<double> frameTimes;
};

Round runRound()
{
    MemoryDefaults defaults;
    AppModel::Setup setup;
    setup.updateConfiguration = QuorvaneConfiguration("harborlite", QUrl("http://127.0.0.1:9"));
    AppModel model(defaults, std::move(setup));
    RootView root(model);
    root.resize(1180, 780);
    root.show();
    pause(1500);

    Clocks clocks;
    clocks.start();
    timedApp()->record(QStringLiteral("scan"));
    auto* scan = root.screen()->findChild<QAbstractButton*>(QStringLiteral("scanButton"));
    scan->click();
    waitUntil([&] { return model.result(ScanCategory::systemJunk).has_value() || !model.isSmartScanning(); });
    model.setRoute(Route::cleanup);
    waitUntil([&] { return !model.isSmartScanning(); });
    const auto scanned = static_cast<std::ptrdiff_t>(clocks.frameCount());
    timedApp()->record(QStringLiteral("review"));
    pause(500);

    auto* screen = qobject_cast<CategoryListScreen*>(root.screen());
    auto* list = screen ? qobject_cast<ResultsList*>(screen->list()) : nullptr;
    // Only the ids are kept: a copy of the result would share its items with
    // the model's, and the first tick would then copy every one of them.
    QUuid largestGroup;
    QList<QUuid> firstItems;
    if (const std::optional<CategoryResult> trash = model.result(ScanCategory::trash);
        trash && !trash->groups.isEmpty()) {
        const ScanGroup& largest =
            *std::max_element(trash->groups.begin(), trash->groups.end(),
                              [](const ScanGroup& a, const ScanGroup& b) { return a.items.size() < b.items.size(); });
        largestGroup = largest.id;
        for (int i = 0; i < 20 && i < largest.items.size(); ++i) {
            firstItems.append(largest.items[i].id);
        }
    }
    if (list && !largestGroup.isNull()) {
        QScrollBar* bar = screen->frame()->scrollArea()->verticalScrollBar();
        const auto show = [&](const QModelIndex& index) {
            static_cast<QAbstractItemView*>(list)->scrollTo(index);
            pause(30);
        };
        const auto press = [&](const QModelIndex& index, ResultsList::Target target) {
            show(index);
            const QRect rect = list->targetRect(index, target);
            if (!rect.isEmpty()) {
                click(list->viewport(), rect.center());
            }
            pause(100);
        };
        press(list->groupIndex(ScanCategory::trash, largestGroup), ResultsList::Target::header);
        for (const QUuid& item : firstItems) {
            press(list->itemIndex(ScanCategory::trash, item), ResultsList::Target::box);
        }
        for (int i = 0; i < 4; ++i) {
            press(list->groupIndex(ScanCategory::trash, largestGroup), ResultsList::Target::box);
        }
        timedApp()->record(QStringLiteral("review, scrolling"));
        for (int step = 0; step < 40; ++step) {
            bar->setValue(bar->value() + 200);
            pause(50);
        }
        for (int step = 0; step < 40; ++step) {
            bar->setValue(bar->value() - 200);
            pause(50);
        }
    }
    timedApp()->record(QStringLiteral("review, back"));
    model.setRoute(Route::smartScan);
    pause(1000);
    clocks.stop();
    timedApp()->record({});

    Round round;
    round.seconds = clocks.seconds();
    round.frameTimes = clocks.frames().wall;
    round.frames = tally(clocks.frames().wall, kFrameBudgetMs);
    const std::vector<double>& wall = clocks.frames().wall;
    round.scanFrames = tally({wall.begin(), wall.begin() + scanned}, kFrameBudgetMs);
    round.reviewFrames = tally({wall.begin() + scanned, wall.end()}, kFrameBudgetMs);
    round.frameWork = tally(clocks.frames().work, kFrameBudgetMs);
    round.gaps = tally(clocks.gaps().wall, kStallMs);
    round.gapWork = tally(clocks.gaps().work, kStallMs);
    return round;
}

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * double(values.size() - 1))];
}

} // namespace

int main(int argc, char* argv[])
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString home =
        argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() : folder.path() + QStringLiteral("/home");
    if (!QFileInfo::exists(home)) {
        QDir().mkpath(home);
        QElapsedTimer writing;
        writing.start();
        HomeWriter writer(home.toStdString());
        writer.fill();
        std::printf("generated %ld entries in %.1f s\n", writer.entries(), writing.elapsed() / 1000.0);
        std::fflush(stdout);
    }

    const QByteArray runtime = QFile::encodeName(folder.path() + QStringLiteral("/runtime"));
    QDir().mkpath(folder.path() + QStringLiteral("/runtime"));
    ::chmod(runtime.constData(), 0700);
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home + QStringLiteral("/.cache")));
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    Symbols::useIconTheme();
    QTextStream out(stdout);

    std::vector<Round> done;
    for (int r = 0; r < rounds; ++r) {
        done.push_back(runRound());
        const Round& round = done.back();
        out << "round " << r + 1 << ": " << round.seconds << " s, " << round.frames.count << " frames, "
            << round.frames.over << " over " << kFrameBudgetMs << " ms ("
            << 100.0 * round.frames.over / std::max(1, round.frames.count) << " %), " << round.gaps.over
            << " stalls over " << kStallMs << " ms, longest gap " << round.gaps.longest << " ms, frame p99 "
            << percentile(round.frameTimes, 0.99) << " ms; GUI-thread work: " << round.frameWork.over << " frames over "
            << kFrameBudgetMs << " ms, " << round.gapWork.over << " gaps over " << kStallMs << " ms, longest "
            << round.gapWork.longest << " ms; frames over " << kFrameBudgetMs << " ms while scanning "
            << round.scanFrames.over << " of " << round.scanFrames.count << ", reviewing " << round.reviewFrames.over
            << " of " << round.reviewFrames.count << "\n";
        out.flush();
    }
    const auto across = [&](const std::function<double(const Round&)>& value) {
        std::vector<double> values;
        for (const Round& round : done) {
            values.push_back(value(round));
        }
        return stats(values);
    };
    const auto line = [&](const QString& what, const Stats& s) {
        out << what << ": min " << s.min << " median " << s.median << " max " << s.max << "\n";
    };
    line(QStringLiteral("longest GUI-thread gap (ms)"), across([](const Round& r) { return r.gaps.longest; }));
    line(QStringLiteral("stalls over 50 ms per round"), across([](const Round& r) { return double(r.gaps.over); }));
    line(QStringLiteral("frames over 16.7 ms (%)"),
         across([](const Round& r) { return 100.0 * r.frames.over / std::max(1, r.frames.count); }));
    line(QStringLiteral("frames over 16.7 ms while scanning (%)"),
         across([](const Round& r) { return 100.0 * r.scanFrames.over / std::max(1, r.scanFrames.count); }));
    line(QStringLiteral("frames over 16.7 ms while reviewing (%)"),
         across([](const Round& r) { return 100.0 * r.reviewFrames.over / std::max(1, r.reviewFrames.count); }));
    line(QStringLiteral("longest GUI-thread work between beats (ms)"),
         across([](const Round& r) { return r.gapWork.longest; }));
    line(QStringLiteral("frames with over 16.7 ms of GUI-thread work (%)"),
         across([](const Round& r) { return 100.0 * r.frameWork.over / std::max(1, r.frameWork.count); }));
    std::vector<double> allFrames;
    for (const Round& round : done) {
        allFrames.insert(allFrames.end(), round.frameTimes.begin(), round.frameTimes.end());
    }
    out << "frame times over all rounds (ms): median " << percentile(allFrames, 0.5) << " p99 "
        << percentile(allFrames, 0.99) << " max " << percentile(allFrames, 1.0) << "\n";
    app.report(out, 25);
    out.flush();

    if (argc <= 2) {
        // Removing 1.5 million entries takes a while; say so.
        std::printf("removing the generated home\n");
    }
    return 0;
}
