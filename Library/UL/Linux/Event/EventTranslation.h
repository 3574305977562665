#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <cstdint>

namespace UL {

// The pointer event modifiers (CMouseInfo::EModifier bits) of the framework's
// modifier bits: shift gives Shift, command (Ctrl) gives Command, control
// (Super) gives Control; others are dropped.
uint32_t MouseModifiersOf(uint16_t frameworkModifiers);

// The key code (CKeyEvent) of a framework key record: printable characters
// keep their code, the arrows and Return give the pad keys; 0 for keys
// without a code.
int32_t KeyCodeOf(EventRecord const& event);

}  // namespace UL
