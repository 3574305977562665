#pragma once

#include "GT/Com/Observer/CEvent.h"

namespace SL {

class ISampleBuffer;

// What a device tells its listeners after each block it moved. The source
// holds the device as a CAudioDeviceBase*.
class CAudioDeviceEvent : public GT::CEvent {
public:
  enum EType { Input = 0, Output = 1 };

  CAudioDeviceEvent(boost::any const& source, EType type, ISampleBuffer* buffer)
      : GT::CEvent(source), mType(type), mBuffer(buffer) {}

  EType GetType() const { return mType; }
  ISampleBuffer* GetBuffer() const { return mBuffer; }

private:
  EType mType;
  ISampleBuffer* mBuffer;
};

}  // namespace SL
