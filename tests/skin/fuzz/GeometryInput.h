#pragma once
// The geometry fuzz entry, shared by the libFuzzer target and the sweep test: one input
// is read as skin INI value texts through every value reader, and as rectangles, points
// and sizes for every composition and region routine. Bad text may only raise
// EConvertError; no geometry may overflow or touch memory outside a picture.

#include <string_view>

// False when a composed picture is not of the asked size or holds a pixel that is neither
// blank nor one of the source's.
bool RunGeometryInput(std::string_view bytes);
