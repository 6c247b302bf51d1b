#include "shared/DamagedJsonFile.h"

#include <QDateTime>
#include <QFile>
#include <QJsonParseError>

#include <algorithm>

namespace harborlite {

QJsonDocument DamagedJsonFile::readable(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument whole = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError) {
        return whole;
    }
    // Walks the text up to the damage, noting after each container opened and
    // each separator where the text could be cut and closed again. `open`
    // holds the closers of the containers open at each point, innermost last.
    QByteArray open;
    const auto closing = [&open] {
        QByteArray closers(open);
        std::reverse(closers.begin(), closers.end());
        return closers;
    };
    qsizetype cut = -1;
    QByteArray closers;
    bool inString = false;
    bool escaped = false;
    for (qsizetype i = 0; i < error.offset && i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (escaped) {
            escaped = false;
        } else if (inString) {
            escaped = c == '\\';
            inString = c != '"';
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            open.append(c == '{' ? '}' : ']');
            // Only the outermost container may be cut open: an inner one
            // would stand for a value that was cut short.
            if (open.size() == 1) {
                cut = i + 1;
                closers = closing();
            }
        } else if ((c == '}' || c == ']') && !open.isEmpty()) {
            open.chop(1);
            if (!open.isEmpty()) {
                cut = i + 1;
                closers = closing();
            }
        } else if (c == ',' && !open.isEmpty()) {
            cut = i;
            closers = closing();
        }
    }
    if (cut < 0) {
        return {};
    }
    const QJsonDocument salvaged = QJsonDocument::fromJson(bytes.left(cut) + closers, &error);
    return error.error == QJsonParseError::NoError ? salvaged : QJsonDocument();
}

QString DamagedJsonFile::keepAside(const QString& path)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString kept = path + QStringLiteral(".bad-") + stamp;
    for (int n = 2; QFile::exists(kept); ++n) {
        kept = path + QStringLiteral(".bad-") + stamp + QLatin1Char('-') + QString::number(n);
    }
    return QFile::rename(path, kept) ? kept : QString();
}

} // namespace harborlite
