#pragma once

#include "widgets/kit/ReloadPolicy.h"

#include <vector>

namespace harborlite {

// The entries a widget shows, each from its own date on, oldest first, and
// when the host should ask for the next timeline.
template <typename Entry>
struct Timeline {
    std::vector<Entry> entries;
    ReloadPolicy policy;
};

} // namespace harborlite
