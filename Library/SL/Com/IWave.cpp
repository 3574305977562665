#include "SL/Com/IWave.h"

#include "SL/Com/CChannelCollection.h"
#include "SL/Com/CEntityId.h"
#include "SL/Com/CEnvelope.h"
#include "SL/Com/ILoop.h"

namespace SL {

std::string IWave::ToString(int attributes) {
  std::string text = IEntity::ToString(attributes);
  if (attributes & kHorizontalSelection) text += "(HorizontalSelection)";
  if (attributes & kVerticalSelection) text += "(VerticalSelection)";
  return text;
}

void IWave::CopyAttribute(IWave const& source, CEntityId const& which) {
  CEntityId const wave = CEntityId().Set<IWave>(-1);
  CEntityId const selection = which == IEntity::sCopyAll ? wave : which.Extract(wave);
  if (selection.IsEmpty()) return;

  if (selection.Intersects(
          CEntityId().Set<IWave>(-1).Attribute(~(kHorizontalSelection | kVerticalSelection)), false)) {
    IEntity::CopyAttribute(source);
    SetSampleRate(source.GetSampleRate());
    SetOriginalBitDepth(source.GetOriginalBitDepth());
    SetRecordNote(source.GetRecordNote());
    SetActualNote(source.GetActualNote());
    SetPlayNote(source.GetPlayNote());
    SetRecordTempo(source.GetRecordTempo());
    SetActualTempo(source.GetActualTempo());
    SetPlayTempo(source.GetPlayTempo());
    SetTargetLocation(source.GetTargetLocation());
    SetFftFrameCount(source.GetFftFrameCount());
    SetIdentifier(source.GetIdentifier());
    SetHistory(source.GetHistory());
  }
  if (selection.Intersects(CEntityId().Set<IWave>(-1).Attribute(kHorizontalSelection), false))
    SetHorizontalSelection(source.GetHorizontalSelection());
  if (selection.Intersects(CEntityId().Set<IWave>(-1).Attribute(kVerticalSelection), false))
    SetVerticalSelection(source.GetVerticalSelection());

  CEntityId const channels = CEntityId().Set<IWave>(-1).Set<IChannel>(-1);
  if (selection.Intersects(channels, false)) {
    CEntityId part = selection.Extract(channels);
    if (part.IsEmpty()) {
      Channels().CopyAttribute(source.Channels(), CEntityId().Set<IChannel>(-1));
    } else {
      part.Shrink(typeid(IChannel));
      Channels().CopyAttribute(source.Channels(), part);
    }
  }
  CEntityId const envelope = CEntityId().Set<IWave>(-1).Set<IEnvelope>(0);
  if (selection.Intersects(envelope, false)) {
    CEntityId part = selection.Extract(envelope);
    if (part.IsEmpty()) {
      Envelope().CopyAttribute(source.Envelope(), CEntityId().Set<IEnvelope>(0));
    } else {
      part.Shrink(typeid(IEnvelope));
      Envelope().CopyAttribute(source.Envelope(), part);
    }
  }
  CEntityId const loop = CEntityId().Set<IWave>(-1).Set<ILoop>(0);
  if (selection.Intersects(loop, false)) {
    CEntityId part = selection.Extract(loop);
    if (part.IsEmpty()) {
      Loop().CopyAttribute(source.Loop(), CEntityId().Set<ILoop>(0));
    } else {
      part.Shrink(typeid(ILoop));
      Loop().CopyAttribute(source.Loop(), part);
    }
  }
}

}  // namespace SL
