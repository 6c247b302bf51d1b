#pragma once

#include "ui/screens/SingleCategoryScreen.h"

namespace harborlite {

class PrivacyView {
public:
    static SingleCategorySetup setup();
};

} // namespace harborlite
