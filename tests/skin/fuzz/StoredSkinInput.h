#pragma once
// The stored-skin fuzz entry, shared by the libFuzzer target and the corpus replay test:
// one input is loaded whole into a skin store (which must catch every failure itself),
// inflated and read as a stored skin, read directly as a packed layout that
// must write and read back unchanged, and round-tripped through the compression streams.
// Bad input may only raise Exception.

#include <string_view>

// Returns false when a round trip changed the bytes (a real fault).
bool RunStoredSkinInput(std::string_view bytes);
