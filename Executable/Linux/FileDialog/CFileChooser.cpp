#include "Executable/Linux/FileDialog/CFileChooser.h"

#include "Executable/Com/Card/FileUtilities.h"
#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Playback/CPlayer.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "Platform/Framework/LException.h"
#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Stream/CSampleAttribute.h"
#include "SL/Com/Wave/CChannelCollection.h"

#include <QAbstractButton>

#include <algorithm>
#include <climits>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

namespace {

ResIDT const nItemList = 1000;
short const nAreaWidth = 400;
short const nAreaHeight = 157;

// The rate truncated toward zero in plain decimal digits, formatted from the
// double itself: a file may state a rate no integer type holds. Empty for a
// rate that is not a finite number.
std::string RateText(double rate) {
  if (!std::isfinite(rate)) return std::string();
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text << std::fixed << std::setprecision(0) << std::trunc(rate) + 0.0;  // no "-0"
  return text.str();
}

}  // namespace

CFileChooser::CFileChooser(VQ7::CController& controller, VQ7::CPlayer& player, long volumeRefNum)
    : CFileDialogBase(nItemList, nAreaWidth, nAreaHeight),
      mController(controller),
      mPlayer(player),
      mPath(),
      mPlayable(false),
      mPlayButton() {
  VQ7::CVolumeLister::CVolume volume;
  unsigned long long freeBytes = 0;
  if (!VQ7::CVolumeLister::Default()->Find(volumeRefNum, volume) ||
      !VQ7::GetVolumeFreeSpace(volume.mPath, freeBytes))
    throw LException(err_NilPointer, "card volume");
  mTexts[nFreeSpace - nFormat] = GetByteSizeStr(freeBytes);
}

CFileChooser::~CFileChooser() {
  StopRepeating();
  if (mPlayer.IsPlaying()) mPlayer.Stop();
}

std::string CFileChooser::GetStaticText(short id) const {
  if (id >= nFirstLabel && id <= nLastLabel) return GetLabelText(id);
  if (id >= nFormat && id <= nFreeSpace) return mTexts[id - nFormat];
  return std::string();
}

bool CFileChooser::AskOpenFile(LFileTypeList const& types) {
  SetEventProc(&CFileDialogBase::NavEventProc, static_cast<CFileDialogBase*>(this));
  return LFileChooser::AskOpenFile(types);
}

void CFileChooser::HandleNavEvent(NavDialogRef context, DialogRef dialog,
                                  NavEventCallbackMessage selector, NavCBRec* params) {
  CFileDialogBase::HandleNavEvent(context, dialog, selector, params);
  switch (selector) {
    case nNavStart: {
      InitMacStaticTexts(context, dialog, nFirstLabel, nLastLabel);
      QWidget* button = dialog->GetItemControl(nPlayButton);
      if (!button) throw LException(err_NilPointer, "play button");
      ThrowIfNot_(dialog->GetItemType(nPlayButton) == 4, "play button");
      mPlayButton = qobject_cast<QAbstractButton*>(button);
      AttemptLoadFile(context, context->GetSelection());
      UpdateStaticTexts(context, dialog, nFirstLabel, nPlayButton - 1);
      UpdatePlayButton();
      break;
    }
    case nNavTerminate:
      mPlayButton = nullptr;
      StopPreview();
      break;
    case nNavAdjustRect:
      UpdateStaticTexts(context, dialog, nFirstLabel, nPlayButton - 1);
      break;
    case nNavSelectEntry:
      StopPreview();
      AttemptLoadFile(context, params->selection);
      UpdateStaticTexts(context, dialog, nFirstLabel, nPlayButton - 1);
      UpdatePlayButton();
      break;
    default:
      break;
  }
}

void CFileChooser::HandleUpdate(NavDialogRef context, DialogRef dialog, EventRecord*) {
  DrawStaticTexts(context, dialog, nFormat, nFreeSpace);
}

void CFileChooser::HandleMouseDown(NavDialogRef, DialogRef dialog, EventRecord* event) {
  if (dialog->FindItem(dialog->mapFromGlobal(event->where)) != nPlayButton) return;
  if (mPlayer.IsPlaying()) {
    StopPreview();
  } else if (!mPath.empty() && mPlayable) {
    mPlayer.PlayLinearWave(mPath);
    StartRepeating(0.25);
  }
  UpdatePlayButton();
}

void CFileChooser::StopPreview() {
  if (!mPlayer.IsPlaying()) return;
  mPlayer.Stop();
  StopRepeating();
}

void CFileChooser::AttemptLoadFile(NavDialogRef, std::vector<std::string> const& selection) {
  if (!IsStarted()) return;
  mPath.clear();
  mPlayable = false;
  for (short id = nFormat; id <= nConvertSize; ++id) mTexts[id - nFormat].clear();
  if (selection.size() != 1) return;
  std::string const& path = selection.front();
  std::pair<boost::shared_ptr<SL::IWave>, SL::CWaveFileFormat> const peeked =
      mController.PeekWave(path);
  if (!peeked.first) return;
  SL::IWave const& wave = *peeked.first;
  mPath = path;
  double const rate = wave.GetSampleRate();
  int const channels = static_cast<int>(std::min<std::size_t>(wave.Channels().size(), INT_MAX));
  mPlayable = VQ7::CPlayer::IsPlayable(
      SL::CSampleAttribute(wave.GetOriginalBitDepth(), rate, channels, GT::CEndianness::sPlatform));
  mTexts[nFormat - nFormat] =
      peeked.second == SL::CWaveFileFormat::RiffWave ? "Windows RIFF Wave" : "Apple AIFF Wave";
  mTexts[nBits - nFormat] = std::to_string(SL::BitsOf(wave.GetOriginalBitDepth().GetValue()));
  mTexts[nFrequency - nFormat] = RateText(rate);
  mTexts[nChannels - nFormat] = std::to_string(wave.Channels().size());
  mTexts[nConvertSize - nFormat] = GetByteSizeStr(mController.ComputeImportedWaveByteSize(wave));
}

void CFileChooser::SpendTime(EventRecord const&) {
  if (mPlayer.IsPlaying()) return;
  UpdatePlayButton();
  StopRepeating();
}

void CFileChooser::UpdatePlayButton() {
  if (!mPlayButton) return;
  bool const playing = mPlayer.IsPlaying();
  mPlayButton->setEnabled(playing || (!mPath.empty() && mPlayable));
  mPlayButton->setText(playing ? "Stop" : "Play");
}
