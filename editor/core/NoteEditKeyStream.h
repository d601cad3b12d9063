#pragma once
// Streaming of a changed key table as the form description carries it: two pseudo-
// properties, "RemovedKeystrokes" (default strokes missing from the table) and
// "AddedKeystrokes" (strokes of the table not among the defaults), compared by shortcut
// pair and command. Commands are written by name (a number without a name as its number).
//
//   RemovedKeystrokes = <
//     item
//       Command = ecUndo
//       ShortCut = 32776
//     end>
//
// A table equal to its ancestor's (or, without one, to the defaults) writes nothing.

#include <string>
#include <string_view>

#include "editor/core/NoteEditKeyCmds.h"

std::string NoteWriteKeystrokes(const TNoteEditKeyStrokes& strokes, const TNoteEditKeyStrokes* ancestor = nullptr);
// Resets the table to the defaults and applies both sets. A malformed text or an unknown
// command name raises ENoteKeyError and leaves the table as it was.
void NoteReadKeystrokes(TNoteEditKeyStrokes& strokes, std::string_view text);
