#include "shared/JsonFileDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

#include <utility>

namespace harborlite {

namespace {

QJsonObject readObject(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return {};
    }
    return document.object();
}

} // namespace

JsonFileDefaults::JsonFileDefaults(QString filePath) : filePath_(std::move(filePath)), values_(readObject(filePath_))
{
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
