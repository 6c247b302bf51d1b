#pragma once

#include "ui/screens/SingleCategoryScreen.h"

namespace harborlite {

class LargeFilesView {
public:
    static SingleCategorySetup setup();
};

} // namespace harborlite
