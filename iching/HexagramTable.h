#pragma once

#include <QString>

// The 64 hexagrams in their traditional order, and how a cast code finds one of them. Entry 0
// means "no hexagram": its code, name and text are empty. A code has one digit per line, top
// line first: "1" a whole line, "0" a broken one.

inline constexpr int kHexagramCount = 64;

// The entry's code, name and advice; `indice` is 0..kHexagramCount.
QString iching_codigo(int index);
QString iching_nome(int index);
QString iching_texto(int index);

// The first entry 1..kHexagramCount whose code equals `codigo`, or 0 when none does.
int findHexagram(const QString& codigo);
