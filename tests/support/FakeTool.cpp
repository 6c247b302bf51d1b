#include "FakeTool.h"

#include <QDir>
#include <QFile>

namespace harborlite::test {

QString writeFakeTool(const QString& folder, const QString& name, const QByteArray& body)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return {};
    }
    file.write("#!/bin/sh\n"
               "for argument in \"$@\"; do printf '%s\\0' \"$argument\"; done > \"$0.args\"\n");
    file.write(body);
    file.write("\n");
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                        | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    return path;
}

QStringList recordedArguments(const QString& toolPath)
{
    QFile file(toolPath + QStringLiteral(".args"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList arguments;
    const QByteArray bytes = file.readAll();
    for (const QByteArray& piece : bytes.split('\0')) {
        arguments.append(QString::fromUtf8(piece));
    }
    arguments.removeLast();
    return arguments;
}

} // namespace harborlite::test
