#pragma once

#include "platform/ToolTable.h"
#include "support/FixtureTree.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace harborlite::test {

// Writes a receipt tool into a tool table that answers from files: the
// package list, and each package's information and file list. A package
// without a file list makes "--files" fail.
class FakeReceiptTool {
public:
    FakeReceiptTool();

    void package(const QString& id, const QByteArray& info, const std::optional<QByteArray>& files);
    // A tool table naming the fake, for adding further fakes.
    platform::ToolTable table() const { return table_; }

private:
    FixtureTree tree_;
    QByteArray packages_;
    platform::ToolTable table_;
};

} // namespace harborlite::test
