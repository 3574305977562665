#include "Executable/Linux/FileDialog/CFileChooser.h"

#include "Executable/Com/Card/FileUtilities.h"
#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Playback/CPlayer.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/UModalState.h"
#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Wave/CChannelCollection.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {

ResIDT const nItemList = 1000;
int const nAreaWidth = 400;
int const nAreaHeight = 157;
short const nFirstValue = 7;
short const nLastValue = 12;

}  // namespace

CFileChooser::CFileChooser(VQ7::CController& controller, VQ7::CPlayer& player, long volumeRefNum)
    : CFileDialogBase(nItemList, nAreaWidth, nAreaHeight),
      mController(controller),
      mPlayer(player),
      mPath(),
      mPlayable(false),
      mChosen(),
      mPlayButton(nullptr) {
  VQ7::CVolumeLister::CVolume volume;
  unsigned long long freeBytes = 0;
  if (!VQ7::CVolumeLister::Default()->Find(volumeRefNum, volume) ||
      !VQ7::GetVolumeFreeSpace(volume.mPath, freeBytes))
    throw LException(err_NilPointer, "card volume");
  mTexts[nFreeSpace - nFirstValue] = GetByteSizeStr(freeBytes);
}

CFileChooser::~CFileChooser() {
  StopRepeating();
  if (mPlayer.IsPlaying()) mPlayer.Stop();
}

std::string CFileChooser::GetStaticText(short id) const {
  if (id < nFirstValue || id > nLastValue) return std::string();
  return mTexts[id - nFirstValue];
}

bool CFileChooser::AskOpenFile() {
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  StartCustomArea(dialog);
  mPlayButton = qobject_cast<QPushButton*>(Item(nPlayButton));
  ThrowIfNot_(mPlayButton != nullptr, "play button");
  QObject::connect(mPlayButton, &QPushButton::clicked,
                   [this] { CatchAndReport("preview", [this] { ClickPlayButton(); }); });
  QString underSelection;
  auto select = [this, &underSelection](QString const& path) {
    underSelection = path;
    // A new selection stops the preview of the last one.
    CatchAndReport("selection", [this, path] {
      if (path.toStdString() == mPath) return;
      if (mPlayer.IsPlaying()) {
        mPlayer.Stop();
        StopRepeating();
      }
      AttemptLoadFile(path.toStdString());
    });
  };
  QObject::connect(&dialog, &QFileDialog::currentChanged, select);
  // A name typed or completed in the name field selects no row of the list,
  // yet it is the file that Open takes.
  if (QLineEdit* field = dialog.findChild<QLineEdit*>("fileNameEdit"))
    QObject::connect(field, &QLineEdit::textChanged, [&dialog, select](QString const& text) {
      if (text.isEmpty()) return;
      QFileInfo const typed(dialog.directory(), text);
      if (typed.isFile()) select(typed.absoluteFilePath());
    });
  AttemptLoadFile(std::string());
  bool const accepted = UModalState::Run(dialog) == QDialog::Accepted;
  if (mPlayer.IsPlaying()) mPlayer.Stop();
  StopRepeating();
  mPlayButton = nullptr;
  EndCustomArea();
  if (!accepted) return false;
  // Qt counts a row left highlighted by an earlier completion together with
  // the name typed since; the file the area described last is the one meant.
  QStringList files = dialog.selectedFiles();
  if (files.size() > 1 && files.contains(underSelection)) files = QStringList(underSelection);
  if (files.size() != 1) return false;
  mChosen = files.front().toStdString();
  return true;
}

void CFileChooser::AttemptLoadFile(std::string const& path) {
  mPath.clear();
  mPlayable = false;
  for (short id = nFormat; id <= nConvertSize; ++id) mTexts[id - nFirstValue].clear();
  if (!path.empty() && QFileInfo(QString::fromStdString(path)).isFile()) {
    std::pair<boost::shared_ptr<SL::IWave>, SL::CWaveFileFormat> const peeked =
        mController.PeekWave(path);
    if (peeked.first) {
      SL::IWave const& wave = *peeked.first;
      mPath = path;
      mPlayable = wave.GetOriginalBitDepth() == SL::CBitDepth::Integer16;
      mTexts[nFormat - nFirstValue] =
          peeked.second == SL::CWaveFileFormat::RiffWave ? "Windows RIFF Wave" : "Apple AIFF Wave";
      mTexts[nBits - nFirstValue] =
          std::to_string(SL::BitsOf(wave.GetOriginalBitDepth().GetValue()));
      mTexts[nFrequency - nFirstValue] =
          std::to_string(static_cast<long long>(wave.GetSampleRate()));
      mTexts[nChannels - nFirstValue] = std::to_string(wave.Channels().size());
      mTexts[nConvertSize - nFirstValue] =
          GetByteSizeStr(mController.ComputeImportedWaveByteSize(wave));
    }
  }
  UpdateStaticTexts(nFirstValue, nLastValue);
  UpdatePlayButton();
}

void CFileChooser::ClickPlayButton() {
  if (mPlayer.IsPlaying()) {
    mPlayer.Stop();
    StopRepeating();
  } else if (!mPath.empty() && mPlayable) {
    mPlayer.PlayLinearWave(mPath);
    StartRepeating(0.25);
  }
  UpdatePlayButton();
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
  mPlayButton->setText(playing ? QObject::tr("Stop") : QObject::tr("Play"));
}
