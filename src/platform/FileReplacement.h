#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace harborlite::platform {

// Puts a new file with `bytes` under `name` in `folder`, atomically: written
// to a fresh file beside it, flushed, then renamed over the name. Whatever the
// name held (a file, a link) is replaced itself; nothing is ever written
// through a link, and a folder that is itself a link is refused (ELOOP). A
// replaced file's rights are kept. Returns the error number of a failure.
// Writes every byte to the open file, again after an interruption; false with
// errno set when a write fails (EIO when it writes nothing).
bool writeAll(int fd, const QByteArray& bytes);

std::optional<int> replaceFile(const QString& folder, const QString& name, const QByteArray& bytes);

} // namespace harborlite::platform
