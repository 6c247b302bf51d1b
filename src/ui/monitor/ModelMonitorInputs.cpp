#include "ui/monitor/ModelMonitorInputs.h"

#include "model/AppModel.h"

#include <algorithm>

namespace harborlite {

namespace {

std::vector<double> values(const QList<double>& series)
{
    return {series.begin(), series.end()};
}

} // namespace

MonitorInputs monitorInputs(const AppModel& model)
{
    MonitorInputs inputs;
    inputs.snapshot = model.snapshot();
    inputs.cpuSeries = values(model.cpuSeries());
    inputs.memorySeries = values(model.memorySeries());
    inputs.storageSeries = values(model.storageSeries());
    inputs.networkInSeries = values(model.networkInSeries());
    inputs.networkScale = model.networkScale();
    const QList<RunningProcess>& processes = model.processes();
    inputs.processCount = static_cast<int>(processes.size());
    const auto heaviest =
        std::max_element(processes.begin(), processes.end(),
                         [](const RunningProcess& a, const RunningProcess& b) { return a.cpu < b.cpu; });
    if (heaviest != processes.end()) {
        inputs.topProcessName = heaviest->name;
        inputs.topProcessCpu = heaviest->cpu;
    }
    inputs.reclaimable = model.reclaimable();
    inputs.lastSmartScan = model.lastSmartScan();
    return inputs;
}

void watchMonitorInputs(const AppModel& model, const QObject* context, const std::function<void()>& changed)
{
    QObject::connect(&model.monitorFeed(), &Observable::didChange, context, changed);
    QObject::connect(&model.systemTools(), &SystemTools::processesChanged, context, changed);
    QObject::connect(&model.scanSession(), &ScanSession::resultsChanged, context, changed);
    QObject::connect(&model.scanSession(), &ScanSession::lastSmartScanChanged, context, changed);
}

void unwatchMonitorInputs(const AppModel& model, const QObject* context)
{
    QObject::disconnect(&model.monitorFeed(), nullptr, context, nullptr);
    QObject::disconnect(&model.systemTools(), nullptr, context, nullptr);
    QObject::disconnect(&model.scanSession(), nullptr, context, nullptr);
}

} // namespace harborlite
