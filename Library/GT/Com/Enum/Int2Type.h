#pragma once

namespace GT {

// Turns an integer constant into a distinct type, for overload selection.
template <int v>
struct Int2Type {
  enum { value = v };
};

}  // namespace GT
