#pragma once

#include "engine/models/MaintenanceResult.h"
#include "engine/models/UninstallPlan.h"
#include "engine/scanners/CategoryScanner.h"
#include "model/DiskMap.h"
#include "model/MonitorFeed.h"
#include "model/ScanSession.h"
#include "model/SystemTools.h"

namespace harborlite {

// Everything the model asks of the scanners and services, as one value, so
// the model can be driven by stand-ins. Each store declares and takes only the
// part it calls; the functions are those of the stores' engines, described
// there.
struct ModelEngine {
    using CancelTest = std::function<bool()>;
    using TreeProgress = DiskMap::Engine::Progress;
    using Sampler = MonitorFeed::Engine::Sampler;
    using Measurement = SystemTools::Measurement;

    decltype(ScanSession::Engine::scanner) scanner;
    decltype(ScanSession::Engine::remove) remove;
    decltype(SystemTools::Engine::installedApps) installedApps;
    decltype(SystemTools::Engine::hasFullDiskAccess) hasFullDiskAccess;
    decltype(SystemTools::Engine::measure) measure;
    decltype(SystemTools::Engine::uninstallPlan) uninstallPlan;
    decltype(SystemTools::Engine::uninstall) uninstall;
    decltype(MonitorFeed::Engine::makeSampler) makeSampler;
    decltype(SystemTools::Engine::topProcesses) topProcesses;
    decltype(SystemTools::Engine::quit) quit;
    decltype(SystemTools::Engine::startupItems) startupItems;
    decltype(SystemTools::Engine::setStartupItemEnabled) setStartupItemEnabled;
    decltype(SystemTools::Engine::runMaintenance) runMaintenance;
    decltype(SystemTools::Engine::storageBreakdown) storageBreakdown;
    decltype(SystemTools::Engine::localSnapshots) localSnapshots;
    decltype(DiskMap::Engine::buildDiskTree) buildDiskTree;
    decltype(DiskMap::Engine::listDirectory) listDirectory;

    ScanSession::Engine scanSession() const { return {scanner, remove}; }
    MonitorFeed::Engine monitorFeed() const { return {makeSampler}; }
    DiskMap::Engine diskMap() const { return {buildDiskTree, listDirectory}; }
    SystemTools::Engine systemTools() const
    {
        return {installedApps,  hasFullDiskAccess, topProcesses,   quit,   startupItems, setStartupItemEnabled,
                runMaintenance, storageBreakdown,  localSnapshots, remove, measure,      uninstallPlan,
                uninstall};
    }

    // The machine's own scanners and services.
    static ModelEngine real();
};

} // namespace harborlite
