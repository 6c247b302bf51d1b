#pragma once

#include "shared/DefaultsStore.h"

#include <QJsonObject>

namespace harborlite {

// The user's defaults kept as one flat JSON object in a file. The file is read
// once, when the store is made; a missing or empty file reads as empty. A file
// that is truncated, not JSON or not an object is renamed to
// `defaults.json.bad-<time>` beside it, the members that ended before the
// damage are written back as the new file, and standard error says so once.
// Every setValue() rewrites the whole file through a temporary file that
// replaces it in one rename, so the file on disk is always either the old or
// the new complete object.
// Make one store per file and share it: two stores on one file would each
// write back their own copy and undo the other's changes.
class JsonFileDefaults : public DefaultsStore {
public:
    explicit JsonFileDefaults(QString filePath);

    // defaults.json in the application's configuration folder
    // ($XDG_CONFIG_HOME/<organisation>/<application>).
    static QString standardFilePath();

    std::optional<QJsonValue> object(const QString& key) const override;
    void setValue(const QString& key, const QJsonValue& value) override;

    const QString& filePath() const { return filePath_; }

private:
    void write() const;

    QString filePath_;
    QJsonObject values_;
};

} // namespace harborlite
