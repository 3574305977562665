#include "SL/Com/Wave/IChannel.h"

#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CEnvelope.h"

namespace SL {

std::string IChannel::ToString(int attributes) {
  std::string text = IEntity::ToString(attributes);
  if (attributes & kLevel) text += "(Level)";
  if (attributes & kPan) text += "(Pan)";
  if (attributes & kPeakLevel) text += "(PeakLevel)";
  return text;
}

void IChannel::CopyAttribute(IChannel const& source, CEntityId const& id) {
  CEntityId const channel = CEntityId().Set<IChannel>(-1);
  CEntityId const selection = id == IEntity::sCopyAll ? channel : id.Extract(channel);
  if (selection.IsEmpty()) return;
  if (selection.Intersects(CEntityId().Set<IChannel>(-1).Attribute(~(kSamples | kFrameRange)),
                           false)) {
    IEntity::CopyAttribute(source);
    SetLevel(source.GetLevel());
    SetPan(source.GetPan());
    SetPeakLevel(source.GetPeakLevel());
  }
  if (selection.Intersects(CEntityId().Set<IChannel>(-1).Attribute(kFrameRange), false))
    SetLocation(source.GetLocation());
  CEntityId const envelope = selection.Below(CEntityId().Set<IChannel>(-1).Set<IEnvelope>(0));
  if (!envelope.IsEmpty()) Envelope().CopyAttribute(source.Envelope(), envelope);
}

}  // namespace SL
