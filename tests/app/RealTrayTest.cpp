#include "support/FixtureTree.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

using harborlite::test::FixtureTree;

namespace {

// Generous: the sanitizer build starts slowly on a busy machine.
constexpr int kWaitMilliseconds = 240'000;
constexpr int kPollMilliseconds = 200;
// Clicks on the icon before the test gives up on the panel, each given its
// share of the wait.
constexpr int kClickAttempts = 4;
constexpr int kPanelWidth = 348;

const QString kProgram = QStringLiteral(HARBORLITE_PROGRAM);

struct Window {
    QString id;
    QString description;
    QRect geometry;
    int depth = 0;
};

struct Opened {
    Window icon;
    Window panel;
};

// The icon is the program's window embedded in the tray's.
bool isIcon(const Window& window)
{
    return window.depth > 2 && window.description.contains(QStringLiteral("\"harborlite\""))
        && window.geometry.top() < 24 && window.geometry.width() <= 48;
}

bool isPanel(const Window& window)
{
    return window.description.startsWith(QStringLiteral("\"Harborlite\"")) && window.geometry.width() == kPanelWidth;
}

std::optional<Window> firstOf(const QList<Window>& windows, const std::function<bool(const Window&)>& wanted)
{
    const auto found = std::find_if(windows.begin(), windows.end(), wanted);
    return found == windows.end() ? std::nullopt : std::optional<Window>(*found);
}

bool hasWindow(const QList<Window>& windows, const QString& id)
{
    return std::any_of(windows.begin(), windows.end(), [&](const Window& window) { return window.id == id; });
}

void expectUnder(const Opened& opened)
{
    EXPECT_GE(opened.panel.geometry.top(), opened.icon.geometry.bottom());
    EXPECT_LE(opened.panel.geometry.right(), 1399);
    EXPECT_GT(opened.panel.geometry.height(), 200);
}

// The program on a display of its own with a real system tray beside it
// (trayer, an XEmbed tray at the top right), in a home of the test's own.
class RealTrayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "trayer", "xwininfo", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                GTEST_SKIP() << tool << " is not installed";
            }
        }
        home = tree.folder(QStringLiteral("home"));
        runtime = tree.folder(QStringLiteral("runtime"));
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        // Xvfb picks a free display and writes its number.
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                      QStringLiteral("1400x900x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        ASSERT_TRUE(server.waitForStarted(kWaitMilliseconds));
        while (!server.canReadLine()) {
            ASSERT_EQ(server.state(), QProcess::Running) << "Xvfb ended";
            server.waitForReadyRead(kPollMilliseconds);
        }
        display = QStringLiteral(":") + QString::fromLatin1(server.readLine().trimmed());
    }

    void TearDown() override
    {
        for (QProcess* process : {&program, &tray, &server}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(kWaitMilliseconds);
            }
        }
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment made = QProcessEnvironment::systemEnvironment();
        made.insert(QStringLiteral("DISPLAY"), display);
        made.insert(QStringLiteral("HOME"), home);
        made.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        made.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        made.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        made.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
        made.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        // The tray is the X one on this display, not a session bus's.
        made.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        made.remove(QStringLiteral("WAYLAND_DISPLAY"));
        made.remove(QStringLiteral("QT_QPA_PLATFORM"));
        return made;
    }

    void start(QProcess& process, const QString& name, const QStringList& arguments)
    {
        process.setProcessEnvironment(environment());
        process.start(name, arguments);
        ASSERT_TRUE(process.waitForStarted(kWaitMilliseconds)) << name.toStdString();
    }

    // Every window of the display, with its place on screen and its depth in the tree.
    QList<Window> windows() const
    {
        QProcess info;
        info.setProcessEnvironment(environment());
        info.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
        info.waitForFinished(kWaitMilliseconds);
        static const QRegularExpression line(
            QStringLiteral(R"(^(\s*)(0x[0-9a-f]+) (.*)\s(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)\s*$)"));
        QList<Window> found;
        for (const QString& text : QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch match = line.match(text);
            if (match.hasMatch()) {
                found.append({match.captured(2), match.captured(3),
                              QRect(match.captured(6).toInt(), match.captured(7).toInt(), match.captured(4).toInt(),
                                    match.captured(5).toInt()),
                              static_cast<int>(match.captured(1).size())});
            }
        }
        return found;
    }

    // Waits, while the program runs, until `done` holds for the display's windows.
    bool waitForWindows(const std::function<bool(const QList<Window>&)>& done, int milliseconds = kWaitMilliseconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
            if (done(windows())) {
                return true;
            }
            if (program.state() != QProcess::NotRunning && program.waitForFinished(kPollMilliseconds)) {
                ADD_FAILURE() << "Harborlite ended: " << program.readAllStandardError().toStdString();
                return false;
            }
        }
        return false;
    }

    // Waits, while the program runs, for a window that `wanted` accepts.
    std::optional<Window> waitForWindow(const std::function<bool(const Window&)>& wanted,
                                        int milliseconds = kWaitMilliseconds)
    {
        std::optional<Window> found;
        waitForWindows(
            [&](const QList<Window>& all) {
                found = firstOf(all, wanted);
                return found.has_value();
            },
            milliseconds);
        return found;
    }

    // Whether the window is mapped and all its ancestors too: the tray lists the
    // icon's window as soon as it takes it in, before the embedding maps it,
    // and a click on a window not yet shown reaches the tray instead.
    bool isViewable(const Window& window) const
    {
        QProcess info;
        info.setProcessEnvironment(environment());
        info.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window.id});
        info.waitForFinished(kWaitMilliseconds);
        return QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("Map State: IsViewable"));
    }

    // Clicks the middle of the window, placed where the window is when the
    // click comes: a tray still laying itself out moves its icons after they
    // are shown, and a point taken from an earlier listing may then be beside
    // the icon.
    void click(const Window& window)
    {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start(QStringLiteral("xdotool"),
                   {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"), window.id,
                    QString::number(window.geometry.width() / 2), QString::number(window.geometry.height() / 2),
                    QStringLiteral("click"), QStringLiteral("1")});
        ASSERT_TRUE(tool.waitForFinished(kWaitMilliseconds));
    }

    void startTray()
    {
        start(tray, QStringLiteral("trayer"),
              {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"), QStringLiteral("right"),
               QStringLiteral("--widthtype"), QStringLiteral("request"), QStringLiteral("--height"),
               QStringLiteral("24"), QStringLiteral("--SetDockType"), QStringLiteral("false")});
    }

    // The icon once a tray shows it. Qt gives the icon a new window each time
    // a tray announces itself, and a tray may do so after the program docked
    // its icon (a tray still starting up, or one started again): the icon is
    // looked for anew at each poll, never followed by the id of a window that
    // may be gone.
    std::optional<Window> waitForShownIcon(int milliseconds = kWaitMilliseconds)
    {
        std::optional<Window> shown;
        waitForWindows(
            [&](const QList<Window>& all) {
                if (tray.state() == QProcess::NotRunning) {
                    ADD_FAILURE() << "the tray ended: " << tray.readAllStandardError().toStdString();
                    return true;
                }
                shown = firstOf(all, [this](const Window& window) { return isIcon(window) && isViewable(window); });
                return shown.has_value();
            },
            milliseconds);
        return shown;
    }

    // Clicks the shown icon until a panel opens. A click on an icon that is
    // being replaced is lost, so it is given again on the icon shown next as
    // soon as the clicked one's window is gone.
    std::optional<Opened> clickIconForPanel()
    {
        for (int attempt = 0; attempt < kClickAttempts; ++attempt) {
            const std::optional<Window> icon = waitForShownIcon(kWaitMilliseconds / kClickAttempts);
            if (!icon) {
                continue;
            }
            click(*icon);
            std::optional<Window> panel;
            waitForWindows(
                [&](const QList<Window>& all) {
                    panel = firstOf(all, isPanel);
                    return panel || !hasWindow(all, icon->id);
                },
                kWaitMilliseconds / kClickAttempts);
            if (panel) {
                return Opened{*icon, *panel};
            }
        }
        return std::nullopt;
    }

    FixtureTree tree;
    QString home;
    QString runtime;
    QString display;
    QProcess server;
    QProcess tray;
    QProcess program;
};

} // namespace

TEST_F(RealTrayTest, TheIconSitsInTheTrayAndAClickOpensThePanelUnderIt)
{
    startTray();
    start(program, kProgram, {});

    ASSERT_TRUE(waitForShownIcon()) << "the tray icon was never shown";
    const std::optional<Opened> opened = clickIconForPanel();
    ASSERT_TRUE(opened) << "no panel opened";
    expectUnder(*opened);
}

TEST_F(RealTrayTest, AfterTheTrayStartsAgainAClickOnItsNewIconOpensThePanel)
{
    startTray();
    start(program, kProgram, {});
    // The icon as soon as the tray lists it; the tray then announces itself
    // anew, as a tray still starting up may, before the icon is shown.
    const std::optional<Window> first = waitForWindow(isIcon);
    ASSERT_TRUE(first) << "no tray icon appeared";

    tray.kill();
    ASSERT_TRUE(tray.waitForFinished(kWaitMilliseconds));
    ASSERT_TRUE(waitForWindows([&](const QList<Window>& all) { return !hasWindow(all, first->id); }))
        << "the icon's window outlived its tray";
    startTray();

    const std::optional<Opened> opened = clickIconForPanel();
    ASSERT_TRUE(opened) << "no panel opened";
    EXPECT_NE(opened->icon.id, first->id);
    expectUnder(*opened);
}
