#pragma once

#include "WindowFixture.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <memory>

namespace harborlite::test {

// A window fixture whose process samples are the test's list, counted as they
// are asked for, and whose maintenance runs are recorded by task id.
struct TrayFixture : WindowFixture {
    struct Services {
        QMutex mutex;
        QList<RunningProcess> processes;
        QStringList maintenance;
        std::atomic<int> processSamples = 0;
    };
    std::shared_ptr<Services> services = std::make_shared<Services>();

    AppModel::Setup trayedSetup()
    {
        AppModel::Setup made = setup();
        made.engine.topProcesses = [services = services](int limit) {
            ++services->processSamples;
            const QMutexLocker lock(&services->mutex);
            return services->processes.mid(0, limit);
        };
        made.engine.runMaintenance = [services = services](const MaintenanceTask& task) {
            const QMutexLocker lock(&services->mutex);
            services->maintenance.append(task.id);
            return QString();
        };
        return made;
    }

    AppModel& makeTrayedModel()
    {
        model = std::make_unique<AppModel>(defaults, trayedSetup());
        return *model;
    }

    void setProcesses(QList<RunningProcess> processes)
    {
        const QMutexLocker lock(&services->mutex);
        services->processes = std::move(processes);
    }

    QStringList maintenanceRuns()
    {
        const QMutexLocker lock(&services->mutex);
        return services->maintenance;
    }

    // `count` processes, the heaviest first, from `cpu` percent down by one each.
    static QList<RunningProcess> processList(int count, double cpu = 90)
    {
        QList<RunningProcess> list;
        for (int i = 0; i < count; ++i) {
            RunningProcess process;
            process.pid = 1000 + i;
            process.name = QStringLiteral("proc%1").arg(i);
            process.cpu = cpu - i;
            process.memory = 1'000'000LL * (i + 1);
            list.append(process);
        }
        return list;
    }

    // Asks for a process sample and waits until the model holds it.
    void sampleProcesses()
    {
        const int before = services->processSamples;
        model->refreshProcesses();
        waitFor([&] { return services->processSamples > before; });
        runner->waitForDone();
        settle();
    }
};

} // namespace harborlite::test
