#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>

#include <cerrno>

namespace harborlite::platform {

// The way to locations judged when a plan was made, opened when the act runs
// so that a link put on the way since never redirects the act. The way starts
// at folders opened once, when the run starts: the home folder (itself perhaps
// behind a link of the system's own layout) for locations below it, else the
// root. From there every step is opened without following a link: openat2 with
// RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH where the kernel has it, else one
// O_NOFOLLOW step at a time.
class PlannedWay {
public:
    enum class Steps {
        kernel, // openat2, one step at a time where the kernel lacks it
        oneByOne, // always one O_NOFOLLOW step at a time
    };

    explicit PlannedWay(const QString& home, Steps steps = Steps::kernel);

    // The folder holding a location and the location's name in it.
    struct Parent {
        FileDescriptor folder;
        QByteArray name;
        // 0 when open; ELOOP when the way now holds a link (see changed());
        // otherwise why a folder on the way could not be opened.
        int error = 0;

        bool changed() const { return error == ELOOP; }
    };

    // Opens the folder holding the absolute location. A location without a
    // parent ("/", "") or naming "." or ".." fails with EINVAL.
    Parent openParent(const QString& location) const;

private:
    FileDescriptor openBeneath(int start, const QByteArray& relative) const;

    QString home_;
    FileDescriptor root_;
    FileDescriptor homeFolder_;
    Steps steps_;
};

// The failure of an item whose way changed since the plan.
QString locationChangedText();

} // namespace harborlite::platform
