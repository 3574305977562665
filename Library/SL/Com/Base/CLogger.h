#pragma once

#include "SL/Com/Base/CGeneralStringBuffer.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <ostream>
#include <stack>

namespace SL {

// A process-wide stack of output streams; each flush hands the text written
// since the last one to the printer of the logger on top. One thread at a time.
class CLogger : public std::ostream {
public:
  class CNullPrinter : public CGeneralStringBuffer::IPrinter {
  public:
    void Print(std::string const& text) override;
  };

  explicit CLogger(boost::shared_ptr<CGeneralStringBuffer::IPrinter> printer);
  ~CLogger() override;

  static void Push(boost::shared_ptr<CGeneralStringBuffer::IPrinter> printer);
  static void Pop();
  static void Clear();
  // The current logger; an empty stack first gets a logger that discards.
  static std::ostream& Instance();

private:
  // Declared before the buffer, so the buffer (which prints on destruction)
  // goes first and the printer is still alive then.
  boost::shared_ptr<CGeneralStringBuffer::IPrinter> mPrinter;
  boost::shared_ptr<CGeneralStringBuffer> mBuffer;

  static std::stack<boost::shared_ptr<CLogger>, std::deque<boost::shared_ptr<CLogger> > > sLoggers;
};

}  // namespace SL
