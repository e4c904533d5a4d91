#pragma once

#include <QtGlobal>

// The virtual-key codes the petition handlers test, and the mapping from Qt's keys.
namespace vk {
inline constexpr int Backspace = 8;
inline constexpr int Enter = 13;
inline constexpr int Shift = 16;
inline constexpr int Space = 32;
}

int virtualKey(int qtKey);
