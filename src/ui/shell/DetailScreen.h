#pragma once

#include "model/Route.h"

class QWidget;

namespace harborlite {

class AppModel;
struct ScreenServices;

// The screen of `route`, built anew for each visit so that its own state
// starts over; routes without a screen of their own show the empty state with
// the route's title and symbol.
QWidget* makeDetailScreen(Route route, AppModel& model, const ScreenServices& services, QWidget* parent = nullptr);

} // namespace harborlite
