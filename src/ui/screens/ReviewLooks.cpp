#include "ui/screens/ReviewLooks.h"

#include "shared/Formatting.h"

namespace harborlite {

ScanButtonLook scanButtonLook(bool isBusy, const QString& scanTitle)
{
    if (isBusy) {
        return {QStringLiteral("Stop"), PaletteRole::danger, true};
    }
    return {scanTitle, PaletteRole::accent, false};
}

QString selectedBytesTitle(qint64 bytes)
{
    return Format::byteText(bytes) + QStringLiteral(" selected");
}

QString selectedItemsTitle(int count)
{
    return QString::number(count) + QStringLiteral(" item(s) selected");
}

QString removalModeTitle(Remover::Mode mode)
{
    switch (mode) {
    case Remover::Mode::trash:
        return QStringLiteral("Move to Trash");
    case Remover::Mode::permanent:
        return QStringLiteral("Delete permanently");
    case Remover::Mode::shred:
        return QStringLiteral("Shred securely");
    }
    return {};
}

} // namespace harborlite
