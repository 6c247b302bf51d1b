#pragma once

#include "engine/scanners/DiskNode.h"
#include "model/BackgroundRunner.h"
#include "model/CancellationFlag.h"
#include "model/RunGeneration.h"
#include "shared/Observable.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace harborlite {

// The disk map: a folder measured into a tree of nodes, largest first, and
// the folders the first pass left without children, listed one level at a
// time on demand. Every build is a new run with its own generation and stop
// flag; only a build that ran to its end publishes its tree, so a stopped or
// superseded one leaves the map as it was. Lives on the GUI thread.
class DiskMap : public Observable {
    Q_OBJECT
    Q_PROPERTY(std::optional<harborlite::DiskNode> diskTree READ diskTree NOTIFY diskTreeChanged)
    Q_PROPERTY(bool isBuildingTree READ isBuildingTree NOTIFY isBuildingTreeChanged)
    Q_PROPERTY(harborlite::DiskMap::Listings expandedChildren READ expandedChildren NOTIFY expandedChildrenChanged)
    Q_PROPERTY(harborlite::DiskMap::Locations expandingDirectories READ expandingDirectories NOTIFY
                   expandingDirectoriesChanged)
    Q_PROPERTY(harborlite::DiskMap::TreeProgress treeProgress READ treeProgress NOTIFY treeProgressChanged)

public:
    // Build progress: the share of the root's entries started and the entry
    // being measured.
    struct TreeProgress {
        double fraction = 0;
        QString name;

        bool operator==(const TreeProgress&) const = default;
    };

    using Listings = std::map<QString, std::vector<DiskNode>>;
    using Locations = std::set<QString>;

    // The part of the engine the map calls, on workers, several at once.
    struct Engine {
        using CancelTest = std::function<bool()>;
        using Progress = std::function<void(double fraction, const QString& name)>;

        // The disk map of a folder: always a root node, holding what was
        // measured before the cancel test answered true.
        std::function<DiskNode(const QString& root, const Progress& progress, const CancelTest& isCancelled)>
            buildDiskTree;
        // One level of a folder as nodes without children, largest first:
        // links and entries of no size left out, hidden entries kept, folders
        // measured whole.
        std::function<std::vector<DiskNode>(const QString& folder, const CancelTest& isCancelled)> listDirectory;
    };

    // Builds and listings come from `engine`; work runs on `runner`.
    DiskMap(Engine engine, std::shared_ptr<BackgroundRunner> runner, QObject* parent = nullptr);
    // Stops the build and the listings; whatever they return later is dropped.
    ~DiskMap() override;

    DiskMap(const DiskMap&) = delete;
    DiskMap& operator=(const DiskMap&) = delete;

    const std::optional<DiskNode>& diskTree() const { return diskTree_; }
    bool isBuildingTree() const { return isBuildingTree_; }
    const Listings& expandedChildren() const { return expandedChildren_; }
    const Locations& expandingDirectories() const { return expandingDirectories_; }
    const TreeProgress& treeProgress() const { return treeProgress_; }

    // Measures `root` into the disk map unless a build runs.
    void buildDiskTree(const QString& root);
    // Stops the build; the map stays as it was before the build started.
    void stopBuild();
    // Lists a directory the map left without children, once.
    void expandChildren(const DiskNode& node);
    // The node's own children, else its listing; none when it has neither.
    std::optional<std::vector<DiskNode>> children(const DiskNode& node) const;

signals:
    void diskTreeChanged();
    void isBuildingTreeChanged();
    void expandedChildrenChanged();
    void expandingDirectoriesChanged();
    void treeProgressChanged();

private:
    Engine engine_;

    std::optional<DiskNode> diskTree_;
    bool isBuildingTree_ = false;
    Listings expandedChildren_;
    Locations expandingDirectories_;
    TreeProgress treeProgress_;

    RunGeneration treeRuns_;
    // Set when the map goes, so listings stop measuring.
    std::shared_ptr<CancellationFlag> closing_;
    // Last, so that it is released first.
    std::shared_ptr<BackgroundRunner> runner_;
};

} // namespace harborlite
