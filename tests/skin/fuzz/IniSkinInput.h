#pragma once
// The skin-INI fuzz entry, shared by the libFuzzer target and the corpus replay test: the
// input is the INI text of a packed skin with fixed pictures (frame, inactive frame, mask
// and two active pictures). It is loaded into a skin store, which runs every record
// reader, and a skin that loads is laid out for a few window sizes: the frame geometry,
// every object's rectangle, the minimum size, the mask strips and hit tests; then the
// live objects are made, placed, drawn and driven by the mouse.
// Bad input may only leave the store empty.

#include <string_view>

// Returns false when a result breaks a rule the frame relies on (a real fault).
bool RunIniSkinInput(std::string_view iniText);
