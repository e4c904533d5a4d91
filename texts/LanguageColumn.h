#pragma once

#include <cstddef>
#include <optional>

// The interface languages, in the order of every table: 0 Portuguese, 1 English, 2 French,
// 3 Spanish.
inline constexpr std::size_t kLanguages = 4;

// The one rule for a language index: its column in a table of one entry per language, or none
// for an index outside 0..3 (as a settings file may hold).
constexpr std::optional<std::size_t> languageColumn(int lingua)
{
    if (lingua < 0 || lingua >= int(kLanguages))
        return std::nullopt;
    return std::size_t(lingua);
}

// The entry of `lingua`, or nullptr where it has none: a window then keeps what it shows.
template <typename Entry>
constexpr const Entry* inLanguage(const Entry (&table)[kLanguages], int lingua)
{
    const std::optional<std::size_t> column = languageColumn(lingua);
    return column ? &table[*column] : nullptr;
}

// For what has no design texts of its own to keep (the phone's page and the operator window):
// Portuguese stands in for a language outside the table.
template <typename Entry>
constexpr const Entry& inLanguageOrPortuguese(const Entry (&table)[kLanguages], int lingua)
{
    const Entry* entry = inLanguage(table, lingua);
    return entry ? *entry : table[0];
}
