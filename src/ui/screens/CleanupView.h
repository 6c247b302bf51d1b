#pragma once

#include "ui/screens/CategoryListScreen.h"

namespace harborlite {

class CleanupView {
public:
    static CategoryListSetup setup();
};

} // namespace harborlite
