#include "SL/Com/Base/CGeneralStringBuffer.h"

namespace SL {

CGeneralStringBuffer::CGeneralStringBuffer(IPrinter& printer)
    : std::stringbuf(std::ios_base::out), mPrinter(printer) {}

CGeneralStringBuffer::~CGeneralStringBuffer() {
  // A destructor must not throw: a failing printer loses the last text.
  try {
    Print();
  } catch (...) {
  }
}

void CGeneralStringBuffer::Print() {
  if (pptr() == pbase()) {
    return;
  }
  std::string const text(pbase(), pptr());
  mPrinter.Print(text);
  // Only once the printer took it: a throwing printer sees it again next time.
  str(std::string());
}

int CGeneralStringBuffer::sync() {
  Print();
  return 0;
}

CGeneralStringBuffer::int_type CGeneralStringBuffer::overflow(int_type c) {
  return std::stringbuf::overflow(c);
}

}  // namespace SL
