#pragma once

#include "ui/screens/CategoryListScreen.h"

namespace harborlite {

class ReclaimView {
public:
    static CategoryListSetup setup();
};

} // namespace harborlite
