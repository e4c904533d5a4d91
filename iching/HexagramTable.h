#pragma once

#include "IchingState.h"

#include <QString>

// The 64 hexagrams in their traditional order, and how a cast code finds one of them.
// A code has one digit per line, top line first: "1" a whole line, "0" a broken one.

// Fills entries 1..64 of the table and empties the text of entry 0. Running it again rewrites
// the same values.
void iching_ini(IchingState& state);

// Restarts the word-by-word display, then selects the first entry whose code equals `codigo`.
// Returns false, leaving iching_indice as it was, when no entry matches.
bool findHexagram(IchingState& state, const QString& codigo);
