#pragma once

#include "SL/Com/Iff/IStreamable.h"

#include <ios>
#include <istream>

namespace SL {

// A whole-file object with a cheap probe that leaves the stream as it was.
class IDto : public virtual IStreamable {
public:
  ~IDto() override {}
  virtual bool CanRead(std::istream& stream) const = 0;

  // Puts a stream back where it stood, with the state bits it had.
  class CStreamJanitor {
  public:
    explicit CStreamJanitor(std::istream& stream)
        : mStream(stream), mPosition(-1), mState(stream.rdstate()) {
      // tellg refuses to answer on a stream at its end, so ask with clean state bits.
      mStream.clear();
      mPosition = mStream.tellg();
      mStream.clear(mState);
    }
    ~CStreamJanitor() {
      mStream.clear();
      if (mPosition != std::streampos(-1)) mStream.seekg(mPosition, std::ios_base::beg);
      mStream.clear(mState);
    }
    CStreamJanitor(CStreamJanitor const&) = delete;
    CStreamJanitor& operator=(CStreamJanitor const&) = delete;

  private:
    std::istream& mStream;
    std::streampos mPosition;
    std::ios_base::iostate mState;
  };
};

}  // namespace SL
