#pragma once

// The surface cache lives in ui/paintcache; the results list still names it here.
#include "ui/paintcache/SurfaceCache.h"
