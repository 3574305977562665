#include "SL/Com/Base/CLogger.h"

namespace SL {

std::stack<boost::shared_ptr<CLogger>, std::deque<boost::shared_ptr<CLogger> > > CLogger::sLoggers;

void CLogger::CNullPrinter::Print(std::string const&) {}

CLogger::CLogger(boost::shared_ptr<CGeneralStringBuffer::IPrinter> printer)
    : std::ostream(nullptr), mPrinter(printer), mBuffer(new CGeneralStringBuffer(*printer)) {
  rdbuf(mBuffer.get());
}

CLogger::~CLogger() {
  // Detach before the buffer goes, so nothing reaches a destroyed buffer.
  rdbuf(nullptr);
}

void CLogger::Push(boost::shared_ptr<CGeneralStringBuffer::IPrinter> printer) {
  sLoggers.push(boost::shared_ptr<CLogger>(new CLogger(printer)));
}

void CLogger::Pop() {
  if (!sLoggers.empty()) {
    sLoggers.pop();
  }
}

void CLogger::Clear() {
  while (!sLoggers.empty()) {
    sLoggers.pop();
  }
}

std::ostream& CLogger::Instance() {
  if (sLoggers.empty()) {
    Push(boost::shared_ptr<CGeneralStringBuffer::IPrinter>(new CNullPrinter));
  }
  // A printer that threw left the stream bad; its text is still pending and
  // must not make the logger deaf from then on.
  sLoggers.top()->clear();
  return *sLoggers.top();
}

}  // namespace SL
