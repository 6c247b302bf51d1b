#pragma once

#include <QString>

// Writing values into a shell command line (the administrator command lines of
// ShellRunner::runPrivileged) so that each reaches its program as one literal
// argument, whatever characters it holds: nothing splits it, nothing in it runs.
namespace harborlite::ShellQuoting {

// The value in single quotes, each embedded single quote written as '\''.
// "it's" becomes 'it'\''s'; the empty value becomes ''.
QString quoted(const QString& value);

// The value as it stands when it holds only characters no shell treats
// specially (letters, digits and _ - . , / : @ % + =) and is not empty;
// quoted(value) otherwise. Ordinary identifiers and paths stay readable.
QString word(const QString& value);

// The value in double quotes: each backslash doubled first, then a backslash
// put before each double quote (so the new backslashes are not doubled), and
// before each "$" and "`", which a shell would otherwise expand there.
// /Applications/My "App".app becomes "/Applications/My \"App\".app".
QString doubleQuoted(const QString& value);

} // namespace harborlite::ShellQuoting
