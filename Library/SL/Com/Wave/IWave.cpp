#include "SL/Com/Wave/IWave.h"

#include "SL/Com/Wave/CChannelCollection.h"
#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CEnvelope.h"
#include "SL/Com/Wave/ILoop.h"

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
          CEntityId().Set<IWave>(-1).Attribute(~(kHorizontalSelection | kVerticalSelection)),
          false)) {
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

  CEntityId const channels = selection.Below(CEntityId().Set<IWave>(-1).Set<IChannel>(-1));
  if (!channels.IsEmpty()) Channels().CopyAttribute(source.Channels(), channels);
  CEntityId const envelope = selection.Below(CEntityId().Set<IWave>(-1).Set<IEnvelope>(0));
  if (!envelope.IsEmpty()) Envelope().CopyAttribute(source.Envelope(), envelope);
  CEntityId const loop = selection.Below(CEntityId().Set<IWave>(-1).Set<ILoop>(0));
  if (!loop.IsEmpty()) Loop().CopyAttribute(source.Loop(), loop);
}

}  // namespace SL
