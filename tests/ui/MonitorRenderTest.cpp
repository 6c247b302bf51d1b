#include "paint/Palette.h"
#include "ui/components/AuroraBackground.h"
#include "ui/monitor/MonitorCard.h"
#include "ui/monitor/TopStatsBar.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace harborlite;

namespace {

std::vector<double> wave(int count, double base, double swing)
{
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(base + swing * std::sin(i / 6.0) + swing * 0.4 * std::sin(i / 1.7));
    }
    return values;
}

MonitorInputs sample()
{
    MonitorInputs inputs;
    SystemSnapshot& s = inputs.snapshot;
    s.cpuUsage = 0.37;
    s.cpuUser = 0.24;
    s.cpuSystem = 0.13;
    s.memoryUsed = 11'400'000'000;
    s.memoryTotal = 16'000'000'000;
    s.swapUsed = 512'000'000;
    s.diskFree = 182'000'000'000;
    s.diskTotal = 494'000'000'000;
    s.networkIn = 2'350'000;
    s.networkOut = 184'000;
    s.batteryLevel = 0.15;
    s.batteryIsCharging = true;
    s.batteryCycleCount = 312;
    s.batteryHealth = QStringLiteral("Normal");
    inputs.cpuSeries = wave(90, 0.35, 0.15);
    inputs.memorySeries = wave(90, 0.7, 0.05);
    inputs.storageSeries = wave(90, 0.63, 0.01);
    inputs.networkInSeries = wave(90, 1'800'000, 900'000);
    inputs.networkScale = 3'200'000;
    inputs.processCount = 40;
    inputs.topProcessName = QStringLiteral("firefox-esr");
    inputs.topProcessCpu = 64.2;
    inputs.reclaimable = 7'800'000'000;
    inputs.lastSmartScan = QDateTime::currentDateTimeUtc().addSecs(-3 * 3600);
    return inputs;
}

std::vector<RunningProcess> topProcesses()
{
    const struct {
        const char* name;
        double cpu;
        qint64 memory;
    } rows[] = {
        {"firefox-esr", 64.2, 1'250'000'000}, {"Isolated Web Content with a long name", 50.0, 420'000'000},
        {"gnome-shell", 15.1, 380'000'000},   {"pipewire", 15.0, 24'000'000},
        {"Xwayland", 2.3, 96'000'000},        {"bash", 0.1, 5'000'000},
    };
    std::vector<RunningProcess> list;
    qint32 pid = 1000;
    for (const auto& row : rows) {
        RunningProcess process;
        process.pid = pid++;
        process.name = QString::fromUtf8(row.name);
        process.cpu = row.cpu;
        process.memory = row.memory;
        list.push_back(process);
    }
    return list;
}

std::unique_ptr<QWidget> page(Appearance appearance)
{
    Symbols::useIconTheme();
    auto root = std::make_unique<AuroraBackground>();
    Palette::setOwnAppearance(root.get(), appearance);
    auto* column = new QVBoxLayout(root.get());
    column->setContentsMargins(24, 20, 24, 20);
    column->setSpacing(10);

    const MonitorInputs inputs = sample();
    auto* bar = new TopStatsBar;
    bar->setInputs(inputs);
    column->addWidget(bar);
    auto* all = new TopStatsBar;
    all->setChosenKinds({MonitorKind::cpu, MonitorKind::memory, MonitorKind::storage, MonitorKind::network,
                         MonitorKind::battery, MonitorKind::processes, MonitorKind::junk});
    all->setInputs(inputs);
    column->addWidget(all);
    auto* empty = new TopStatsBar;
    empty->setChosenKinds({});
    column->addWidget(empty);

    auto* grid = new QGridLayout;
    grid->setSpacing(6);
    int index = 0;
    for (const MonitorKind kind : MonitorKinds::allCases) {
        auto* card = new MonitorCard(kind);
        card->setValues(inputs, topProcesses());
        grid->addWidget(card, index / 3, index % 3);
        ++index;
    }
    auto* noBattery = new MonitorCard(MonitorKind::battery);
    noBattery->setValues({}, {});
    grid->addWidget(noBattery, 2, 1);
    auto* sampling = new MonitorCard(MonitorKind::processes);
    sampling->setValues({}, {});
    grid->addWidget(sampling, 2, 2);
    column->addLayout(grid);
    column->addStretch(1);
    return root;
}

} // namespace

TEST(MonitorRender, CardsAndTopBarsInBothAppearances)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/monitor");
    QDir().mkpath(folder);
    for (const auto& [appearance, name] : {std::pair{Appearance::light, QStringLiteral("monitor-light.png")},
                                           std::pair{Appearance::dark, QStringLiteral("monitor-dark.png")}}) {
        std::unique_ptr<QWidget> root = page(appearance);
        root->resize(1000, 900);
        root->show();
        QApplication::processEvents();
        EXPECT_TRUE(root->grab().save(QDir(folder).filePath(name))) << name.toStdString();
    }
}
