#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace harborlite::test {

// Writes an executable /bin/sh script named `name` into `folder` and returns
// its path. Before `body` runs, the script records the arguments it was given
// in "<path>.args", so tests can read them back with recordedArguments.
QString writeFakeTool(const QString& folder, const QString& name, const QByteArray& body);

// The arguments the fake tool at `toolPath` received on its last run; empty
// when it never ran.
QStringList recordedArguments(const QString& toolPath);

} // namespace harborlite::test
