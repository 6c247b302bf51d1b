#include "support/FakeReceiptTool.h"

#include "support/FakeTool.h"

namespace harborlite::test {

FakeReceiptTool::FakeReceiptTool()
{
    tree_.folder("db/info");
    tree_.folder("db/files");
    tree_.file("db/pkgs", QByteArray());
    table_.pkgutil = writeFakeTool(tree_.root(), QStringLiteral("pkgutil"),
                                   "db=\"$(dirname \"$0\")/db\"\n"
                                   "case \"$1\" in\n"
                                   "  --pkgs) cat \"$db/pkgs\" ;;\n"
                                   "  --pkg-info) cat \"$db/info/$2\" ;;\n"
                                   "  --files) cat \"$db/files/$2\" ;;\n"
                                   "  *) exit 2 ;;\n"
                                   "esac\n");
}

void FakeReceiptTool::package(const QString& id, const QByteArray& info, const std::optional<QByteArray>& files)
{
    packages_ += id.toUtf8() + '\n';
    tree_.file(QStringLiteral("db/pkgs"), packages_);
    tree_.file(QStringLiteral("db/info/") + id, info);
    if (files) {
        tree_.file(QStringLiteral("db/files/") + id, *files);
    }
}

} // namespace harborlite::test
