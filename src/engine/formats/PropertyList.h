#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace harborlite {

// A property list read from XML or binary ("bplist00") bytes, or one value
// inside such a list. The parsed tree is immutable and shared: copies and the
// values handed out by look-ups keep it alive, so they cost a pointer.
//
// Lists come from files other programs wrote (launch agents, preferences,
// bundles), so reading never throws and never trusts the bytes: a file larger
// than maxFileBytes, nesting deeper than maxDepth, more than maxValues values,
// a reference cycle, a truncated or malformed list all give no list at all.
// Every typed accessor gives no value when the value has another type; there
// is no conversion between types (an integer is not a real, nor a boolean).
class PropertyList {
public:
    enum class Kind { String, Integer, Real, Boolean, Date, Data, Array, Dictionary, Uid };

    static constexpr qint64 maxFileBytes = 8 * 1024 * 1024;
    // Deepest nesting: the top-level value is at level 1, each container adds one.
    static constexpr int maxDepth = 128;
    // Values in the whole list, dictionary keys included.
    static constexpr qint64 maxValues = qint64(1) << 20;

    // The list in the file (symbolic links followed); none when it is not a
    // regular file, cannot be read, is larger than maxFileBytes or does not parse.
    static std::optional<PropertyList> fromFile(const QString& path);
    // The list in the bytes: binary when they start with "bplist00", else XML.
    static std::optional<PropertyList> fromBytes(const QByteArray& bytes);

    Kind kind() const;

    std::optional<QString> toString() const;
    // Integers are signed 64-bit; larger unsigned values wrap as they are stored.
    std::optional<qint64> toInteger() const;
    std::optional<double> toReal() const;
    std::optional<bool> toBool() const;
    // Dates are UTC with millisecond precision.
    std::optional<QDateTime> toDate() const;
    std::optional<QByteArray> toData() const;
    std::optional<QList<PropertyList>> toArray() const;
    // An array whose elements are all strings; none when any element is not.
    std::optional<QStringList> toStringList() const;

    // A dictionary's keys in the order the list gives them; empty for other kinds.
    QStringList keys() const;
    // The value under the key; none when this is not a dictionary or has no such key.
    std::optional<PropertyList> value(const QString& key) const;
    // Follows the keys through nested dictionaries; an empty path gives this value.
    std::optional<PropertyList> valueAt(const QStringList& keyPath) const;

    // value(key) read as the named type; none when missing or of another type.
    std::optional<QString> string(const QString& key) const;
    std::optional<qint64> integer(const QString& key) const;
    std::optional<double> real(const QString& key) const;
    std::optional<bool> boolean(const QString& key) const;
    std::optional<QDateTime> date(const QString& key) const;
    std::optional<QByteArray> data(const QString& key) const;
    std::optional<QList<PropertyList>> array(const QString& key) const;
    std::optional<QStringList> stringList(const QString& key) const;
    std::optional<PropertyList> dictionary(const QString& key) const;

    // One value of the parsed tree; defined with the reader.
    struct Node;

private:
    explicit PropertyList(std::shared_ptr<const Node> node);

    // Shares ownership of the whole tree while pointing at one of its nodes.
    std::shared_ptr<const Node> node_;
};

} // namespace harborlite
