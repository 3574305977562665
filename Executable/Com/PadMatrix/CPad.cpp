#include "Executable/Com/PadMatrix/CPad.h"

namespace VQ7 {

CPad::CPad(long id) : APad(id) {}

void CPad::Draw(UL::ADrawInfo const& info) { APad::Draw(info); }

}  // namespace VQ7
