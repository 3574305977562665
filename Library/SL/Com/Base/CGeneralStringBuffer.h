#pragma once

#include <sstream>
#include <string>

namespace SL {

// A string buffer that hands what was written since the last flush, in one
// piece, to a printer.
class CGeneralStringBuffer : public std::stringbuf {
public:
  class IPrinter {
  public:
    virtual ~IPrinter() {}
    virtual void Print(std::string const& text) = 0;
  };

  // The printer is not owned and must outlive the buffer.
  explicit CGeneralStringBuffer(IPrinter& printer);
  // Prints what is still pending.
  ~CGeneralStringBuffer() override;

  // Hands the pending text to the printer, when there is any, and starts afresh.
  // When the printer throws, the text stays pending.
  void Print();

protected:
  int sync() override;
  int_type overflow(int_type c) override;

private:
  IPrinter& mPrinter;
};

}  // namespace SL
