#pragma once
// SkUtils: the portable picture and region utilities of the skin engine in one include:
// INI value readers and writers, geometry, pictures and canvas, compositions, mask
// regions, glyphs and text fitting. The Win32 side (DIBs, regions, alpha, monitors) is
// skin/win/SkWinUtils.h.

#include "skin/core/SkBitmap.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkCompose.h"
#include "skin/core/SkGeometry.h"
#include "skin/core/SkGlyphs.h"
#include "skin/core/SkIniValues.h"
#include "skin/core/SkMaskRegion.h"
#include "skin/core/SkText.h"
