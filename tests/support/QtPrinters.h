#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest show QString values as text in failure messages (found by
// argument-dependent lookup; QStringList elements print through it too).
inline void PrintTo(const QString& value, std::ostream* stream)
{
    *stream << '"' << value.toStdString() << '"';
}
