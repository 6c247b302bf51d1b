#include "engine/apps/AppImages.h"

#include "engine/formats/DesktopEntry.h"
#include "engine/formats/NoFollow.h"
#include "shared/FileSystem.h"

#include <QDir>
#include <QRegularExpression>

namespace harborlite::AppImages {

namespace {

const QString extension = QStringLiteral(".appimage");

// Pieces that name the machine an AppImage was built for, not the application.
const QRegularExpression& platformSuffix()
{
    static const QRegularExpression suffix(
        QStringLiteral("[-_ .](x86[-_]64|amd64|x64|aarch64|arm64|armhf|armv7l|i[3-6]86|linux(32|64)?)$"),
        QRegularExpression::CaseInsensitiveOption);
    return suffix;
}

bool startsVersion(const QString& piece)
{
    if (piece.isEmpty()) {
        return false;
    }
    if (piece.at(0).isDigit()) {
        return true;
    }
    return piece.size() > 1 && (piece.at(0) == QLatin1Char('v') || piece.at(0) == QLatin1Char('V'))
        && piece.at(1).isDigit();
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char(' ');
}

} // namespace

bool isAppImageName(const QString& fileName)
{
    return fileName.size() > extension.size() && fileName.endsWith(extension, Qt::CaseInsensitive);
}

NameAndVersion fromFileName(const QString& fileName)
{
    QString stem = isAppImageName(fileName) ? fileName.left(fileName.size() - extension.size()) : fileName;
    // "Tool-2.0-linux-x86_64": both suffixes go, one after the other.
    for (int round = 0; round < 2; ++round) {
        const QRegularExpressionMatch match = platformSuffix().match(stem);
        if (match.hasMatch() && match.capturedStart() > 0) {
            stem.truncate(match.capturedStart());
        }
    }
    // A version starts a piece that follows a separator; the first piece is
    // always part of the name.
    for (qsizetype i = 1; i < stem.size(); ++i) {
        if (!isSeparator(stem.at(i - 1)) || !startsVersion(stem.mid(i))) {
            continue;
        }
        qsizetype nameEnd = i - 1;
        while (nameEnd > 0 && isSeparator(stem.at(nameEnd - 1))) {
            --nameEnd;
        }
        if (nameEnd == 0) {
            break;
        }
        QString version = stem.mid(i);
        if (!version.at(0).isDigit()) {
            version.remove(0, 1);
        }
        return {stem.left(nameEnd), version};
    }
    return {stem, std::nullopt};
}

QStringList find(const QStringList& folders)
{
    QStringList found;
    for (const QString& folder : folders) {
        for (const QString& child : FS::children(folder, {.includingHidden = false})) {
            if (isAppImageName(FS::lastPathComponent(child))
                && NoFollow::entryType(child) == NoFollow::EntryType::file) {
                found << child;
            }
        }
    }
    return found;
}

QStringList desktopEntriesLaunching(const QString& appImage, const QString& entriesFolder)
{
    const QString target = QDir::cleanPath(appImage);
    QStringList entries;
    for (const QString& child : FS::children(entriesFolder, {.includingHidden = false})) {
        if (!child.endsWith(QLatin1String(".desktop")) || NoFollow::entryType(child) != NoFollow::EntryType::file) {
            continue;
        }
        const std::optional<DesktopEntry> entry = DesktopEntry::fromFile(child);
        if (!entry) {
            continue;
        }
        const QString program = entry->program();
        if (program.startsWith(QLatin1Char('/')) && QDir::cleanPath(program) == target) {
            entries << child;
        }
    }
    return entries;
}

} // namespace harborlite::AppImages
