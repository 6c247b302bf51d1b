#include "quorvanekit/AppUpdate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

namespace harborlite {

namespace {

// One key of the document read as a T: none when the key is absent or null,
// an error when it holds anything else that is not a T.
template <typename T>
using Field = std::variant<std::optional<T>, FeedError>;

bool absent(const QJsonValue& value)
{
    return value.isUndefined() || value.isNull();
}

Field<QString> stringField(const QJsonObject& object, const QString& key)
{
    const QJsonValue value = object.value(key);
    if (absent(value)) {
        return std::optional<QString>();
    }
    if (!value.isString()) {
        return FeedError::dataCorrupted();
    }
    return std::optional<QString>(value.toString());
}

Field<qint64> integerField(const QJsonObject& object, const QString& key)
{
    const QJsonValue value = object.value(key);
    if (absent(value)) {
        return std::optional<qint64>();
    }
    // Two different fallbacks agree only when the number is a whole one that fits.
    const qint64 number = value.toInteger(0);
    if (!value.isDouble() || number != value.toInteger(1)) {
        return FeedError::dataCorrupted();
    }
    return std::optional<qint64>(number);
}

Field<QUrl> urlField(const QJsonObject& object, const QString& key)
{
    const Field<QString> text = stringField(object, key);
    if (const auto* error = std::get_if<FeedError>(&text)) {
        return *error;
    }
    const std::optional<QString>& string = std::get<std::optional<QString>>(text);
    if (!string) {
        return std::optional<QUrl>();
    }
    const QUrl url(*string, QUrl::StrictMode);
    if (string->isEmpty() || !url.isValid()) {
        return FeedError::dataCorrupted();
    }
    return std::optional<QUrl>(url);
}

Field<QStringList> stringListField(const QJsonObject& object, const QString& key)
{
    const QJsonValue value = object.value(key);
    if (absent(value)) {
        return std::optional<QStringList>();
    }
    if (!value.isArray()) {
        return FeedError::dataCorrupted();
    }
    QStringList strings;
    for (const QJsonValue element : value.toArray()) {
        if (!element.isString()) {
            return FeedError::dataCorrupted();
        }
        strings.append(element.toString());
    }
    return std::optional<QStringList>(strings);
}

// Reads one field into `target`; false, with `error` set, when it fails or
// when it is required and absent.
template <typename T, typename Target>
bool take(Field<T> field, bool required, Target& target, FeedError& error)
{
    if (auto* failure = std::get_if<FeedError>(&field)) {
        error = *failure;
        return false;
    }
    std::optional<T>& value = std::get<std::optional<T>>(field);
    if (!value) {
        if (required) {
            error = FeedError::valueMissing();
            return false;
        }
        return true;
    }
    target = std::move(*value);
    return true;
}

} // namespace

std::variant<AppUpdate, FeedError> AppUpdate::decode(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        return FeedError::dataCorrupted();
    }
    const QJsonObject object = document.object();
    AppUpdate update;
    FeedError error = FeedError::dataCorrupted();
    const bool decoded = take(stringField(object, QStringLiteral("version")), true, update.version, error)
        && take(integerField(object, QStringLiteral("build")), true, update.build, error)
        && take(stringField(object, QStringLiteral("minimumSystemVersion")), false, update.minimumSystemVersion, error)
        && take(urlField(object, QStringLiteral("downloadUrl")), true, update.downloadUrl, error)
        && take(urlField(object, QStringLiteral("pageUrl")), false, update.pageUrl, error)
        && take(urlField(object, QStringLiteral("releaseNotesUrl")), false, update.releaseNotesUrl, error)
        && take(stringField(object, QStringLiteral("releasedAt")), false, update.releasedAt, error)
        && take(stringListField(object, QStringLiteral("notes")), false, update.notes, error);
    if (!decoded) {
        return error;
    }
    return update;
}

} // namespace harborlite
