#include "model/DiskMap.h"

#include "model/ProgressChannel.h"

namespace harborlite {

namespace {

using TreeChannel = ProgressChannel<DiskMap::TreeProgress, DiskNode>;

// Unread progress values kept for the GUI thread.
constexpr std::size_t treeProgressBuffer = 2;

} // namespace

DiskMap::DiskMap(Engine engine, std::shared_ptr<BackgroundRunner> runner, QObject* parent)
    : Observable(parent)
    , engine_(std::move(engine))
    , closing_(std::make_shared<CancellationFlag>())
    , runner_(std::move(runner))
{
}

DiskMap::~DiskMap()
{
    treeRuns_.cancel();
    closing_->set();
}

void DiskMap::buildDiskTree(const QString& root)
{
    if (isBuildingTree_) {
        return;
    }
    assign(expandedChildren_, Listings{}, &DiskMap::expandedChildrenChanged);
    assign(expandingDirectories_, Locations{}, &DiskMap::expandingDirectoriesChanged);
    assign(isBuildingTree_, true, &DiskMap::isBuildingTreeChanged);
    assign(treeProgress_, TreeProgress{}, &DiskMap::treeProgressChanged);
    const RunGeneration::Run run = treeRuns_.start();
    const quint64 generation = run.generation;
    auto channel = TreeChannel::open(
        treeProgressBuffer, this,
        [this, generation](TreeProgress value) {
            if (treeRuns_.isCurrent(generation)) {
                assign(treeProgress_, std::move(value), &DiskMap::treeProgressChanged);
            }
        },
        [this, generation](DiskNode tree) {
            // A stopped build holds only part of the folder, with a total that
            // is not the folder's: the map it would replace stays.
            if (!treeRuns_.isCurrent(generation) || treeRuns_.isCancelled()) {
                return;
            }
            assign(diskTree_, std::optional<DiskNode>(std::move(tree)), &DiskMap::diskTreeChanged);
            assign(isBuildingTree_, false, &DiskMap::isBuildingTreeChanged);
        });
    runner_->start(TaskPriority::utility,
                   [build = engine_.buildDiskTree, root, channel, isCancelled = run.isCancelled()] {
                       channel->finish(build(
                           root,
                           [channel](double fraction, const QString& name) {
                               channel->send({fraction, name});
                           },
                           isCancelled));
                   });
}

void DiskMap::stopBuild()
{
    treeRuns_.cancel();
    assign(isBuildingTree_, false, &DiskMap::isBuildingTreeChanged);
}

void DiskMap::expandChildren(const DiskNode& node)
{
    if (!node.isDirectory || !node.children.empty() || expandedChildren_.contains(node.url)
        || expandingDirectories_.contains(node.url)) {
        return;
    }
    Locations expanding = expandingDirectories_;
    expanding.insert(node.url);
    assign(expandingDirectories_, std::move(expanding), &DiskMap::expandingDirectoriesChanged);
    runner_->run(
        TaskPriority::utility, this,
        [list = engine_.listDirectory, url = node.url, closing = closing_] {
            return list(url, [closing] { return closing->isSet(); });
        },
        [this, url = node.url](std::vector<DiskNode> nodes) {
            Listings listings = expandedChildren_;
            listings.insert_or_assign(url, std::move(nodes));
            assign(expandedChildren_, std::move(listings), &DiskMap::expandedChildrenChanged);
            Locations remaining = expandingDirectories_;
            remaining.erase(url);
            assign(expandingDirectories_, std::move(remaining), &DiskMap::expandingDirectoriesChanged);
        });
}

std::optional<std::vector<DiskNode>> DiskMap::children(const DiskNode& node) const
{
    if (!node.children.empty()) {
        return node.children;
    }
    const auto found = expandedChildren_.find(node.url);
    if (found != expandedChildren_.end()) {
        return found->second;
    }
    return std::nullopt;
}

} // namespace harborlite
