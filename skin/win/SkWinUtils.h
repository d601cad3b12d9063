#pragma once
// The Win32 side of the skin utilities in one include: DIB conversions, the framework
// bitmap bridge, regions and system helpers.
// The portable side is skin/core/SkUtils.h.

#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkDib.h"
#include "skin/win/SkRegions.h"
#include "skin/win/SkSystem.h"
