#pragma once

namespace SL {

// What a ring buffer tells about its fill state.
class IRingSampleBufferMixin {
public:
  virtual ~IRingSampleBufferMixin() {}
  virtual bool IsReadable() const = 0;
  virtual bool IsWritable() const = 0;
  virtual long GetAvailableInputFrameCount() const = 0;
  virtual long GetAvailableOutputFrameCount() const = 0;
};

}  // namespace SL
