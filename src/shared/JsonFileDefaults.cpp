#include "shared/JsonFileDefaults.h"

#include "shared/DamagedJsonFile.h"
#include "shared/SharedLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

#include <utility>

namespace harborlite {

JsonFileDefaults::JsonFileDefaults(QString filePath)
    : filePath_(std::move(filePath))
{
    QFile file(filePath_);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isObject() || bytes.trimmed().isEmpty()) {
        values_ = document.object();
        return;
    }
    // A damaged file is kept beside under a name of its own, and what it still
    // holds is written back; each value is then read by its setting's own rules.
    values_ = DamagedJsonFile::readable(bytes).object();
    const QString kept = DamagedJsonFile::keepAside(filePath_);
    if (kept.isEmpty()) {
        qCWarning(sharedLog).noquote() << "The settings file" << filePath_
                                       << "is damaged and could not be kept aside; it is read as" << values_.size()
                                       << "setting(s) and left as it is.";
        return;
    }
    write();
    qCWarning(sharedLog).noquote() << "The settings file" << filePath_ << "was damaged: it is kept as" << kept
                                   << "and the" << values_.size() << "setting(s) that could be read were kept.";
}

QString JsonFileDefaults::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/defaults.json");
}

std::optional<QJsonValue> JsonFileDefaults::object(const QString& key) const
{
    return lookup(values_, key);
}

void JsonFileDefaults::setValue(const QString& key, const QJsonValue& value)
{
    values_.insert(key, value);
    write();
}

void JsonFileDefaults::write() const
{
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    // QSaveFile never falls back to writing the target in place unless asked;
    // a crash before commit() leaves the old file untouched.
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly)) {
        return;
    }
    file.write(QJsonDocument(values_).toJson(QJsonDocument::Indented));
    file.commit();
}

} // namespace harborlite
