#pragma once

#include <cstddef>
#include <optional>

// How many interface languages there are: the size of the language table, kLanguageTable in
// texts/Languages.cpp, whose order gives each its index (0 Portuguese, 1 English, 2 French,
// 3 Spanish, 4 German).
std::size_t languageCount();

// The one rule for a language index: its place in the table, or none for an index outside it
// (as a settings file may hold).
std::optional<std::size_t> languageColumn(int lingua);

// For what has no design texts of its own to keep (the phone's page and the operator window):
// Portuguese stands in for a language outside the table.
std::size_t columnOrPortuguese(int lingua);
