#include "engine/formats/PropertyList.h"

#include "platform/FileDescriptor.h"
#include "platform/PathText.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <plist/plist.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>
#include <vector>

namespace harborlite {

struct PropertyList::Node {
    Kind kind = Kind::String;
    std::variant<std::monostate, QString, qint64, double, bool, QDateTime, QByteArray> scalar;
    // Array elements, or dictionary values in the order of `keys`.
    std::vector<Node> items;
    QStringList keys;
};

namespace {

using Node = PropertyList::Node;
using Kind = PropertyList::Kind;

constexpr char binaryMagic[] = "bplist00";
constexpr qsizetype binaryMagicSize = 8;
constexpr qsizetype binaryTrailerSize = 32;
// Seconds from the Unix epoch to 2001-01-01T00:00:00Z, where list dates count from.
constexpr qint64 referenceDateOffset = 978307200;
// Dates beyond about 3 million years either way are not dates anyone wrote.
constexpr double maxDateSeconds = 1e14;

QDateTime dateFromReference(double seconds)
{
    const auto msecs = qint64(std::llround(seconds * 1000));
    return QDateTime::fromMSecsSinceEpoch(referenceDateOffset * 1000 + msecs, Qt::UTC);
}

quint64 readBigEndian(const uchar* bytes, int width)
{
    quint64 value = 0;
    for (int i = 0; i < width; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// libplist walks a binary list recursively, one stack frame per nesting level,
// and builds a separate copy of an object for every reference to it. Checking
// the object graph first keeps a deep, cyclic or heavily shared list (a few
// hundred bytes can reference one object 2^40 times) away from it.
class BinaryShape {
public:
    explicit BinaryShape(const QByteArray& bytes)
        : data_(reinterpret_cast<const uchar*>(bytes.constData()))
        , size_(bytes.size())
    {
    }

    bool isSafe() { return readTrailer() && walk(); }

private:
    struct Container {
        quint64 refsAt = 0; // byte position of the first reference
        quint64 count = 0; // entries (a dictionary has 2 * count references)
        bool isDictionary = false;
    };

    struct Frame {
        quint64 object = 0;
        Container container;
        quint64 next = 0; // next reference to visit
        int height = 1;
        qint64 weight = 1;
    };

    enum class State : quint8 { New, Active, Done };
    enum class KeyState : quint8 { Unknown, Safe, Unsafe };

    bool readTrailer()
    {
        if (size_ < binaryMagicSize + binaryTrailerSize) {
            return false;
        }
        const uchar* trailer = data_ + size_ - binaryTrailerSize;
        offsetSize_ = trailer[6];
        refSize_ = trailer[7];
        objectCount_ = readBigEndian(trailer + 8, 8);
        topObject_ = readBigEndian(trailer + 16, 8);
        tableAt_ = readBigEndian(trailer + 24, 8);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) {
            return false;
        }
        if (objectCount_ < 1 || objectCount_ > quint64(PropertyList::maxValues) || topObject_ >= objectCount_) {
            return false;
        }
        const auto trailerAt = quint64(size_ - binaryTrailerSize);
        return tableAt_ >= quint64(binaryMagicSize) && tableAt_ <= trailerAt
            && objectCount_ * offsetSize_ <= trailerAt - tableAt_;
    }

    // Where the object starts; objects lie between the magic and the offset table.
    std::optional<quint64> objectAt(quint64 object) const
    {
        const quint64 at = readBigEndian(data_ + tableAt_ + object * offsetSize_, offsetSize_);
        if (at < quint64(binaryMagicSize) || at >= tableAt_) {
            return std::nullopt;
        }
        return at;
    }

    std::optional<quint64> reference(const Container& container, quint64 index) const
    {
        const quint64 ref = readBigEndian(data_ + container.refsAt + index * refSize_, refSize_);
        if (ref >= objectCount_) {
            return std::nullopt;
        }
        return ref;
    }

    // The length field of a variable-length object starting at `at`: its count
    // and where the contents begin; none when it runs into the offset table.
    std::optional<std::pair<quint64, quint64>> counted(quint64 at) const
    {
        quint64 position = at + 1;
        quint64 count = data_[at] & 0x0F;
        if (count == 0x0F) {
            if (position >= tableAt_ || (data_[position] >> 4) != 0x1) {
                return std::nullopt;
            }
            const int width = 1 << (data_[position] & 0x0F);
            if (width > 8 || position + 1 + quint64(width) > tableAt_) {
                return std::nullopt;
            }
            count = readBigEndian(data_ + position + 1, width);
            position += 1 + quint64(width);
        }
        return std::make_pair(count, position);
    }

    // Dictionary keys must be strings. libplist aborts the process (an assert)
    // when it hands out a key that holds a NUL.
    bool isSafeKey(quint64 object)
    {
        if (keyStates_[object] != KeyState::Unknown) {
            return keyStates_[object] == KeyState::Safe;
        }
        bool safe = false;
        const std::optional<quint64> at = objectAt(object);
        const int type = at ? data_[*at] >> 4 : 0;
        if (type == 0x5) {
            const auto length = counted(*at);
            safe = length && length->first <= tableAt_ - length->second
                && std::memchr(data_ + length->second, 0, length->first) == nullptr;
        } else if (type == 0x6) {
            const auto length = counted(*at);
            safe = length && length->first <= (tableAt_ - length->second) / 2;
            for (quint64 i = 0; safe && i < length->first; ++i) {
                safe = readBigEndian(data_ + length->second + 2 * i, 2) != 0;
            }
        }
        keyStates_[object] = safe ? KeyState::Safe : KeyState::Unsafe;
        return safe;
    }

    // Reads the header of an array, set or dictionary; false when the object is
    // malformed. A scalar gives a container without entries.
    bool container(quint64 object, Container& result)
    {
        const std::optional<quint64> at = objectAt(object);
        if (!at) {
            return false;
        }
        const int type = data_[*at] >> 4;
        if (type == 0x3) {
            result = Container{};
            return date(*at);
        }
        if (type != 0xA && type != 0xC && type != 0xD) {
            result = Container{};
            return true;
        }
        const auto length = counted(*at);
        if (!length) {
            return false;
        }
        const auto [count, position] = *length;
        const bool isDictionary = type == 0xD;
        const quint64 available = (tableAt_ - position) / refSize_;
        if (count > available || (isDictionary && count > available / 2)) {
            return false;
        }
        result = Container{position, count, isDictionary};
        for (quint64 i = 0; isDictionary && i < count; ++i) {
            const std::optional<quint64> key = reference(result, i);
            if (!key || !isSafeKey(*key)) {
                return false;
            }
        }
        return true;
    }

    // Depth-first over the references with an explicit stack. Each object is
    // examined once; its height and expanded size are remembered for later
    // references.
    bool walk()
    {
        states_.assign(objectCount_, State::New);
        keyStates_.assign(objectCount_, KeyState::Unknown);
        heights_.assign(objectCount_, 0);
        weights_.assign(objectCount_, 0);
        std::vector<Frame> stack;
        if (!push(stack, topObject_)) {
            return false;
        }
        while (!stack.empty()) {
            Frame& frame = stack.back();
            const Container& c = frame.container;
            const quint64 references = c.isDictionary ? 2 * c.count : c.count;
            if (frame.next == references) {
                const Frame done = frame;
                stack.pop_back();
                states_[done.object] = State::Done;
                heights_[done.object] = done.height;
                weights_[done.object] = done.weight;
                if (!stack.empty()) {
                    absorb(stack.back(), done.height, done.weight);
                }
                if (done.weight > PropertyList::maxValues) {
                    return false;
                }
                continue;
            }
            const quint64 index = frame.next++;
            if (c.isDictionary && index < c.count) {
                frame.weight += 1; // the key, a string
                continue;
            }
            const std::optional<quint64> child = reference(c, index);
            if (!child || states_[*child] == State::Active) {
                return false;
            }
            if (states_[*child] == State::Done) {
                absorb(frame, heights_[*child], weights_[*child]);
                if (int(stack.size()) + heights_[*child] > PropertyList::maxDepth) {
                    return false;
                }
                continue;
            }
            if (!push(stack, *child)) {
                return false;
            }
        }
        return true;
    }

    // A date is a big-endian double of seconds from the reference date.
    bool date(quint64 at)
    {
        if (data_[at] != 0x33 || at + 9 > tableAt_) {
            return false;
        }
        const quint64 bits = readBigEndian(data_ + at + 1, 8);
        double seconds = 0;
        std::memcpy(&seconds, &bits, sizeof seconds);
        if (!std::isfinite(seconds) || std::abs(seconds) > maxDateSeconds) {
            return false;
        }
        dates_.push_back({at, dateFromReference(seconds)});
        return true;
    }

public:
    // libplist keeps dates as 32-bit seconds. Each date object's value is
    // replaced by its index among the dates, which libplist carries through
    // exactly; the converter then takes the date read here.
    QByteArray withIndexedDates(const QByteArray& bytes) const
    {
        QByteArray patched = bytes;
        for (std::size_t i = 0; i < dates_.size(); ++i) {
            const double index = double(i);
            quint64 bits = 0;
            std::memcpy(&bits, &index, sizeof bits);
            for (int b = 0; b < 8; ++b) {
                patched[qsizetype(dates_[i].at + 1 + quint64(b))] = char(bits >> (56 - 8 * b));
            }
        }
        return patched;
    }

    std::vector<quint64> datePositions() const
    {
        std::vector<quint64> result;
        result.reserve(dates_.size());
        for (const DateObject& date : dates_) {
            result.push_back(date.at);
        }
        return result;
    }

    std::vector<QDateTime> dates() const
    {
        std::vector<QDateTime> result;
        result.reserve(dates_.size());
        for (const DateObject& date : dates_) {
            result.push_back(date.value);
        }
        return result;
    }

private:
    bool push(std::vector<Frame>& stack, quint64 object)
    {
        if (int(stack.size()) >= PropertyList::maxDepth) {
            return false;
        }
        Frame frame;
        frame.object = object;
        if (!container(object, frame.container)) {
            return false;
        }
        states_[object] = State::Active;
        stack.push_back(frame);
        return true;
    }

    static void absorb(Frame& parent, int childHeight, qint64 childWeight)
    {
        parent.height = std::max(parent.height, childHeight + 1);
        parent.weight = std::min(parent.weight + childWeight, PropertyList::maxValues + 1);
    }

    const uchar* data_;
    qsizetype size_;
    int offsetSize_ = 0;
    int refSize_ = 0;
    quint64 objectCount_ = 0;
    quint64 topObject_ = 0;
    quint64 tableAt_ = 0;
    std::vector<State> states_;
    std::vector<KeyState> keyStates_;
    std::vector<int> heights_;
    std::vector<qint64> weights_;
    struct DateObject {
        quint64 at = 0;
        QDateTime value;
    };
    std::vector<DateObject> dates_;
};

// XML lists are read here rather than by libplist, which frees its tree
// recursively, drops a key without a value, reads reals by the process locale,
// takes "12abc" as the integer 12 and keeps dates as 32-bit seconds (every date
// outside 1901-2038 around the reference date comes back wrong). Anything that is
// not a well-formed list of known elements gives no list.
class XmlReader {
public:
    explicit XmlReader(const QByteArray& bytes)
        : reader_(bytes)
    {
    }

    bool read(Node& root)
    {
        if (!nextElement()) {
            return false;
        }
        bool ok = false;
        if (reader_.name() == QLatin1String("plist")) {
            // <plist> holds exactly one value.
            ok = nextElement() && value(root, 1) && !nextElement() && isEnd(QLatin1String("plist"));
        } else {
            ok = value(root, 1);
        }
        while (ok && !reader_.atEnd()) {
            const QXmlStreamReader::TokenType token = reader_.readNext();
            ok = token != QXmlStreamReader::StartElement && token != QXmlStreamReader::Characters;
        }
        return ok && !reader_.hasError();
    }

private:
    // Moves to the next start element; false at an end element or the end.
    // Text between elements may only be white space.
    bool nextElement()
    {
        while (!reader_.atEnd()) {
            switch (reader_.readNext()) {
            case QXmlStreamReader::StartElement:
                return true;
            case QXmlStreamReader::EndElement:
            case QXmlStreamReader::Invalid:
                return false;
            case QXmlStreamReader::Characters:
                if (!reader_.isWhitespace()) {
                    return false;
                }
                break;
            default:
                break;
            }
        }
        return false;
    }

    bool isEnd(QLatin1String name) const
    {
        return reader_.tokenType() == QXmlStreamReader::EndElement && reader_.name() == name;
    }

    // The text of a leaf element; none when it holds an element.
    std::optional<QString> text()
    {
        const QString content = reader_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (reader_.hasError()) {
            return std::nullopt;
        }
        return content;
    }

    bool value(Node& to, int depth)
    {
        if (depth > PropertyList::maxDepth || ++values_ > PropertyList::maxValues) {
            return false;
        }
        const QStringView name = reader_.name();
        if (name == QLatin1String("dict")) {
            to.kind = Kind::Dictionary;
            return dictionary(to, depth);
        }
        if (name == QLatin1String("array")) {
            to.kind = Kind::Array;
            while (nextElement()) {
                if (!value(to.items.emplace_back(), depth + 1)) {
                    return false;
                }
            }
            return isEnd(QLatin1String("array"));
        }
        if (name == QLatin1String("true") || name == QLatin1String("false")) {
            to.kind = Kind::Boolean;
            to.scalar = name == QLatin1String("true");
            const std::optional<QString> content = text();
            return content && content->trimmed().isEmpty();
        }
        const bool isString = name == QLatin1String("string");
        const bool isInteger = name == QLatin1String("integer");
        const bool isReal = name == QLatin1String("real");
        const bool isDate = name == QLatin1String("date");
        const bool isData = name == QLatin1String("data");
        if (!isString && !isInteger && !isReal && !isDate && !isData) {
            return false;
        }
        const std::optional<QString> content = text();
        if (!content) {
            return false;
        }
        if (isString) {
            to.kind = Kind::String;
            to.scalar = *content;
            return true;
        }
        if (isInteger) {
            to.kind = Kind::Integer;
            return assign(to, integerText(content->trimmed()));
        }
        if (isReal) {
            to.kind = Kind::Real;
            return assign(to, realText(content->trimmed()));
        }
        if (isDate) {
            to.kind = Kind::Date;
            return assign(to, dateText(content->trimmed()));
        }
        to.kind = Kind::Data;
        return assign(to, dataText(*content));
    }

    // A key given twice keeps its later value, in the place of the first.
    bool dictionary(Node& to, int depth)
    {
        QHash<QString, qsizetype> positions;
        while (nextElement()) {
            if (reader_.name() != QLatin1String("key")) {
                return false;
            }
            const std::optional<QString> key = text();
            if (!key || ++values_ > PropertyList::maxValues || !nextElement()) {
                return false;
            }
            Node item;
            if (!value(item, depth + 1)) {
                return false;
            }
            const auto found = positions.constFind(*key);
            if (found != positions.constEnd()) {
                to.items[std::size_t(*found)] = std::move(item);
            } else {
                positions.insert(*key, to.keys.size());
                to.keys.append(*key);
                to.items.push_back(std::move(item));
            }
        }
        return isEnd(QLatin1String("dict"));
    }

    template <typename T>
    static bool assign(Node& to, const std::optional<T>& parsed)
    {
        if (parsed) {
            to.scalar = *parsed;
        }
        return parsed.has_value();
    }

    // Decimal, with an optional sign. Values past the signed range up to 2^64 - 1
    // are kept as their unsigned bits, as binary lists store them.
    static std::optional<qint64> integerText(const QString& text)
    {
        bool ok = false;
        if (text.startsWith(QLatin1Char('-'))) {
            const qint64 value = QLocale::c().toLongLong(text, &ok);
            return ok ? std::optional(value) : std::nullopt;
        }
        const QString digits = text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
        if (digits.isEmpty() || !digits.front().isDigit()) {
            return std::nullopt;
        }
        const qulonglong value = QLocale::c().toULongLong(digits, &ok);
        return ok ? std::optional(qint64(value)) : std::nullopt;
    }

    static std::optional<double> realText(const QString& text)
    {
        const QString lower = text.toLower();
        if (lower == QLatin1String("nan")) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        if (lower == QLatin1String("+infinity") || lower == QLatin1String("infinity")
            || lower == QLatin1String("inf")) {
            return std::numeric_limits<double>::infinity();
        }
        if (lower == QLatin1String("-infinity") || lower == QLatin1String("-inf")) {
            return -std::numeric_limits<double>::infinity();
        }
        bool ok = false;
        const double value = QLocale::c().toDouble(text, &ok);
        return ok ? std::optional(value) : std::nullopt;
    }

    // "YYYY-MM-DDTHH:MM:SSZ", the only form lists are written in.
    static std::optional<QDateTime> dateText(const QString& text)
    {
        static const QRegularExpression form(
            QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})Z$"));
        const QRegularExpressionMatch match = form.match(text);
        if (!match.hasMatch()) {
            return std::nullopt;
        }
        const auto part = [&](int i) { return match.captured(i).toInt(); };
        const QDate day(part(1), part(2), part(3));
        const QTime time(part(4), part(5), part(6));
        if (!day.isValid() || !time.isValid()) {
            return std::nullopt;
        }
        return QDateTime(day, time, Qt::UTC);
    }

    static std::optional<QByteArray> dataText(const QString& text)
    {
        QByteArray compact = text.toLatin1();
        compact.removeIf([](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
        const QByteArray::FromBase64Result decoded =
            QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
        return decoded ? std::optional(*decoded) : std::nullopt;
    }

    QXmlStreamReader reader_;
    qint64 values_ = 0;
};

struct PlistDeleter {
    void operator()(void* node) const { plist_free(node); }
};
using PlistHandle = std::unique_ptr<void, PlistDeleter>;

// Converts libplist's tree, giving up on a value of an unknown type or past
// the limits (which the shape checks already keep it within).
class Converter {
public:
    // The list's dates, in the order BinaryShape::withIndexedDates numbered them.
    explicit Converter(std::vector<QDateTime> dates)
        : dates_(std::move(dates))
    {
    }

    bool convert(plist_t from, Node& to, int depth)
    {
        if (depth > PropertyList::maxDepth || ++values_ > PropertyList::maxValues) {
            return false;
        }
        switch (plist_get_node_type(from)) {
        case PLIST_STRING: {
            uint64_t length = 0;
            const char* text = plist_get_string_ptr(from, &length);
            to.kind = Kind::String;
            to.scalar = QString::fromUtf8(text, qsizetype(length));
            return text != nullptr;
        }
        case PLIST_UINT: {
            uint64_t value = 0;
            plist_get_uint_val(from, &value);
            to.kind = Kind::Integer;
            to.scalar = qint64(value);
            return true;
        }
        case PLIST_UID: {
            uint64_t value = 0;
            plist_get_uid_val(from, &value);
            to.kind = Kind::Uid;
            to.scalar = qint64(value);
            return true;
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(from, &value);
            to.kind = Kind::Real;
            to.scalar = value;
            return true;
        }
        case PLIST_BOOLEAN: {
            uint8_t value = 0;
            plist_get_bool_val(from, &value);
            to.kind = Kind::Boolean;
            to.scalar = value != 0;
            return true;
        }
        case PLIST_DATE: {
            int32_t index = 0;
            int32_t microseconds = 0;
            plist_get_date_val(from, &index, &microseconds);
            if (index < 0 || std::size_t(index) >= dates_.size() || microseconds != 0) {
                return false;
            }
            to.kind = Kind::Date;
            to.scalar = dates_[std::size_t(index)];
            return true;
        }
        case PLIST_DATA: {
            uint64_t length = 0;
            const char* bytes = plist_get_data_ptr(from, &length);
            to.kind = Kind::Data;
            to.scalar = length == 0 ? QByteArray() : QByteArray(bytes, qsizetype(length));
            return length == 0 || bytes != nullptr;
        }
        case PLIST_ARRAY:
            to.kind = Kind::Array;
            return convertArray(from, to, depth);
        case PLIST_DICT:
            to.kind = Kind::Dictionary;
            return convertDictionary(from, to, depth);
        default:
            return false;
        }
    }

private:
    bool convertArray(plist_t from, Node& to, int depth)
    {
        to.items.reserve(plist_array_get_size(from));
        plist_array_iter iter = nullptr;
        plist_array_new_iter(from, &iter);
        bool ok = iter != nullptr;
        plist_t item = nullptr;
        if (ok) {
            plist_array_next_item(from, iter, &item);
        }
        while (ok && item != nullptr) {
            ok = convert(item, to.items.emplace_back(), depth + 1);
            plist_array_next_item(from, iter, &item);
        }
        std::free(iter);
        return ok;
    }

    // A key given twice keeps its later value, in the place of the first.
    bool convertDictionary(plist_t from, Node& to, int depth)
    {
        QHash<QString, qsizetype> positions;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(from, &iter);
        bool ok = iter != nullptr;
        char* key = nullptr;
        plist_t item = nullptr;
        if (ok) {
            plist_dict_next_item(from, iter, &key, &item);
        }
        while (ok && item != nullptr) {
            const QString name = QString::fromUtf8(key);
            ++values_;
            Node value;
            ok = key != nullptr && convert(item, value, depth + 1);
            if (ok) {
                const auto found = positions.constFind(name);
                if (found != positions.constEnd()) {
                    to.items[std::size_t(*found)] = std::move(value);
                } else {
                    positions.insert(name, to.keys.size());
                    to.keys.append(name);
                    to.items.push_back(std::move(value));
                }
            }
            std::free(key);
            key = nullptr;
            plist_dict_next_item(from, iter, &key, &item);
        }
        std::free(key);
        std::free(iter);
        return ok;
    }

    std::vector<QDateTime> dates_;
    qint64 values_ = 0;
};

template <typename T>
std::optional<T> scalarOf(const Node& node, Kind kind)
{
    if (node.kind != kind) {
        return std::nullopt;
    }
    if (const T* value = std::get_if<T>(&node.scalar)) {
        return *value;
    }
    return std::nullopt;
}

} // namespace

PropertyList::PropertyList(std::shared_ptr<const Node> node)
    : node_(std::move(node))
{
}

std::optional<PropertyList> PropertyList::fromFile(const QString& path)
{
    if (path.isEmpty()) {
        return std::nullopt;
    }
    // Non-blocking, so a named pipe planted under a list's name cannot stall the open.
    const platform::FileDescriptor fd(
        ::open(platform::pathBytes(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.isOpen()) {
        return std::nullopt;
    }
    struct stat st { };
    QByteArray bytes;
    bool ok = ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxFileBytes;
    if (ok) {
        bytes.reserve(qsizetype(st.st_size));
    }
    // The size is checked again while reading: the file may grow after fstat.
    char chunk[16384];
    while (ok) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        bytes.append(chunk, qsizetype(got));
        ok = bytes.size() <= maxFileBytes;
    }
    if (!ok) {
        return std::nullopt;
    }
    return fromBytes(bytes);
}

std::optional<PropertyList> PropertyList::fromBytes(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() > maxFileBytes) {
        return std::nullopt;
    }
    auto root = std::make_shared<Node>();
    if (!bytes.startsWith(QByteArrayView(binaryMagic, binaryMagicSize))) {
        if (!XmlReader(bytes).read(*root)) {
            return std::nullopt;
        }
        return PropertyList(std::move(root));
    }
    BinaryShape shape(bytes);
    if (!shape.isSafe()) {
        return std::nullopt;
    }
    // Objects may overlap in a malformed list: the numbered copy must still be
    // safe and hold the same dates where they were.
    const QByteArray indexed = shape.withIndexedDates(bytes);
    BinaryShape indexedShape(indexed);
    if (!indexedShape.isSafe() || indexedShape.datePositions() != shape.datePositions()) {
        return std::nullopt;
    }
    const std::vector<QDateTime> numbers = indexedShape.dates();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] != dateFromReference(double(i))) {
            return std::nullopt;
        }
    }
    plist_t parsed = nullptr;
    plist_from_bin(indexed.constData(), uint32_t(indexed.size()), &parsed);
    const PlistHandle handle(parsed);
    if (!handle || !Converter(shape.dates()).convert(handle.get(), *root, 1)) {
        return std::nullopt;
    }
    return PropertyList(std::move(root));
}

PropertyList::Kind PropertyList::kind() const
{
    return node_->kind;
}

std::optional<QString> PropertyList::toString() const
{
    return scalarOf<QString>(*node_, Kind::String);
}

std::optional<qint64> PropertyList::toInteger() const
{
    return scalarOf<qint64>(*node_, Kind::Integer);
}

std::optional<double> PropertyList::toReal() const
{
    return scalarOf<double>(*node_, Kind::Real);
}

std::optional<bool> PropertyList::toBool() const
{
    return scalarOf<bool>(*node_, Kind::Boolean);
}

std::optional<QDateTime> PropertyList::toDate() const
{
    return scalarOf<QDateTime>(*node_, Kind::Date);
}

std::optional<QByteArray> PropertyList::toData() const
{
    return scalarOf<QByteArray>(*node_, Kind::Data);
}

std::optional<QList<PropertyList>> PropertyList::toArray() const
{
    if (node_->kind != Kind::Array) {
        return std::nullopt;
    }
    QList<PropertyList> result;
    result.reserve(qsizetype(node_->items.size()));
    for (const Node& item : node_->items) {
        result.append(PropertyList(std::shared_ptr<const Node>(node_, &item)));
    }
    return result;
}

std::optional<QStringList> PropertyList::toStringList() const
{
    if (node_->kind != Kind::Array) {
        return std::nullopt;
    }
    QStringList result;
    result.reserve(qsizetype(node_->items.size()));
    for (const Node& item : node_->items) {
        const std::optional<QString> text = scalarOf<QString>(item, Kind::String);
        if (!text) {
            return std::nullopt;
        }
        result.append(*text);
    }
    return result;
}

QStringList PropertyList::keys() const
{
    return node_->keys;
}

std::optional<PropertyList> PropertyList::value(const QString& key) const
{
    const qsizetype index = node_->keys.indexOf(key);
    if (node_->kind != Kind::Dictionary || index < 0) {
        return std::nullopt;
    }
    return PropertyList(std::shared_ptr<const Node>(node_, &node_->items[std::size_t(index)]));
}

std::optional<PropertyList> PropertyList::valueAt(const QStringList& keyPath) const
{
    std::optional<PropertyList> current = *this;
    for (const QString& key : keyPath) {
        current = current->value(key);
        if (!current) {
            break;
        }
    }
    return current;
}

std::optional<QString> PropertyList::string(const QString& key) const
{
    const std::optional<PropertyList> found = value(key);
    return found ? found->toString() : std::nullopt;
}

std::optional<qint64> PropertyList::integer(const QString& key) const
{
    const std::optional<PropertyList> found = value(key);
    return found ? found->toInteger() : std::nullopt;
}

std::optional<double> PropertyList::real(const QString& key) const
{
    const std::optional<PropertyList> found = value(key);
    return found ? found->toReal() : std::nullopt;
}

std::optional<bool> PropertyList::boolean(const QString& key) const
{
    const std::optional<PropertyList> found = value(key);
    return found ? found->toBool() : std::nullopt;
}

std::optional<QDateTime> PropertyList::date(const QString& key) const
{
    const std::optional<PropertyList> found = value(key);
    return found ? found->toDate() : std::nullopt;
}

std::optional<QByteArray> PropertyList::data(const QString& key) const
{
    const std::optional<PropertyList> found = value(key);
    return found ? found->toData() : std::nullopt;
}

std::optional<QList<PropertyList>> PropertyList::array(const QString& key) const
{
    const std::optional<PropertyList> found = value(key);
    return found ? found->toArray() : std::nullopt;
}

std::optional<QStringList> PropertyList::stringList(const QString& key) const
{
    const std::optional<PropertyList> found = value(key);
    return found ? found->toStringList() : std::nullopt;
}

std::optional<PropertyList> PropertyList::dictionary(const QString& key) const
{
    std::optional<PropertyList> found = value(key);
    if (found && found->kind() != Kind::Dictionary) {
        return std::nullopt;
    }
    return found;
}

} // namespace harborlite
