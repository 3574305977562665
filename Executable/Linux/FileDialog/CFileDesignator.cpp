#include "Executable/Linux/FileDialog/CFileDesignator.h"

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "GT/Com/Text/CPathSplitter.h"
#include "GT/Linux/FileSystem/PosixFileUtilities.h"
#include "Platform/Framework/LException.h"

#include <QFileInfo>

namespace {

ResIDT const nItemList = 1001;
short const nAreaWidth = 400;
short const nAreaHeight = 77;
int16_t const nPopupType = 7;
int16_t const nUserItemType = 0;

}  // namespace

char const* const CFileDesignator::sExportFileNameKey = "ExportFileName";
char const* const CFileDesignator::sExportFileTypeKey = "ExportFileType";

CFileDesignator::CFileDesignator(VQ7::CDomain* domain)
    : CFileDialogBase(nItemList, nAreaWidth, nAreaHeight),
      mAiffChosen(true),
      mDomain(domain),
      mController(domain->Controller()) {}

std::string CFileDesignator::GetStaticText(short id) const {
  if (id >= nFirstLabel && id <= nLastLabel) return GetLabelText(id);
  if (id == nConvertSize) return mConvertSizeText;
  if (id == nFreeSpace) return mFreeSpaceText;
  return std::string();
}

std::string CFileDesignator::CutName(std::string const& name) {
  if (name.size() <= nMaxNameBytes) return name;
  // The extension says the format: the name before it gives way.
  std::size_t const dot = name.rfind('.');
  std::size_t const extension = dot == std::string::npos ? 0 : name.size() - dot;
  if (extension >= nMaxNameBytes) return GT::Posix::CutBetweenCharacters(name, nMaxNameBytes);
  return GT::Posix::CutBetweenCharacters(name.substr(0, name.size() - extension),
                                         nMaxNameBytes - extension) +
         name.substr(name.size() - extension);
}

std::string CFileDesignator::SwapExtension(std::string const& name, bool aiff) {
  GT::CPathSplitter const splitter(name, '/');
  return splitter.GetName() + (aiff ? ".aif" : ".wav");
}

bool CFileDesignator::AskDesignateFile() {
  boost::shared_ptr<GT::IProfile> profile = mDomain->CreateProfile();
  std::string const name = profile->Read(sExportFileNameKey, std::string("Untitled.aif"));
  mAiffChosen = profile->Read(sExportFileTypeKey, static_cast<long>(nTypeAiff)) == nTypeAiff;
  SetEventProc(&CFileDialogBase::NavEventProc, static_cast<CFileDialogBase*>(this));
  if (!LFileDesignator::AskDesignateFile(CutName(name))) return false;
  profile->Write(
      sExportFileNameKey,
      CutName(QFileInfo(QString::fromStdString(GetFilePath())).fileName().toStdString()));
  profile->Write(sExportFileTypeKey, static_cast<long>(mAiffChosen ? nTypeAiff : nTypeWave));
  return true;
}

void CFileDesignator::HandleNavEvent(NavDialogRef context, DialogRef dialog,
                                     NavEventCallbackMessage selector, NavCBRec* params) {
  CFileDialogBase::HandleNavEvent(context, dialog, selector, params);
  switch (selector) {
    case nNavStart:
      InitMacStaticTexts(context, dialog, nFirstLabel, nLastLabel);
      UpdateConvertSizeText(context, dialog, false);
      UpdateDriveFreeSpaceText(context, dialog, false);
      UpdateFormatPopup(context, dialog);
      break;
    case nNavAdjustRect:
      UpdateStaticTexts(context, dialog, nFirstLabel, nFreeSpace);
      break;
    case nNavSelectEntry:
      UpdateDriveFreeSpaceText(context, dialog, true);
      break;
    default:
      break;
  }
}

void CFileDesignator::HandleUpdate(NavDialogRef context, DialogRef dialog, EventRecord*) {
  DrawStaticTexts(context, dialog, nConvertSize, nFreeSpace);
}

void CFileDesignator::UpdateFormatPopup(NavDialogRef, DialogRef dialog) {
  if (dialog->GetItemType(nFormatPopup) == nPopupType)
    dialog->SetItemValue(nFormatPopup, mAiffChosen ? nChoiceAiff : nChoiceWave);
}

void CFileDesignator::HandleMouseDown(NavDialogRef context, DialogRef dialog, EventRecord* event) {
  if (dialog->FindItem(dialog->mapFromGlobal(event->where)) != nFormatPopup ||
      dialog->GetItemType(nFormatPopup) != nPopupType)
    return;
  bool const aiff = dialog->GetItemValue(nFormatPopup) == nChoiceAiff;
  if (aiff == mAiffChosen) return;
  mAiffChosen = aiff;
  context->SetSaveFileName(CutName(SwapExtension(context->GetSaveFileName(), aiff)));
  UpdateConvertSizeText(context, dialog, true);
}

void CFileDesignator::UpdateConvertSizeText(NavDialogRef, DialogRef dialog, bool redraw) {
  if (!IsStarted()) return;
  SL::CWaveFileFormat const format =
      mAiffChosen ? SL::CWaveFileFormat::FormAiff : SL::CWaveFileFormat::RiffWave;
  mConvertSizeText = GetByteSizeStr(mController.ComputeExportedWaveByteSize(
      mController.GetCurrentBankId(), mController.GetCurrentPadId(), format));
  if (!redraw) return;
  ThrowIfNot_(dialog->GetItemType(nConvertSize) == nUserItemType, "convert size item");
  dialog->InvalItem(nConvertSize);
}

void CFileDesignator::UpdateDriveFreeSpaceText(NavDialogRef context, DialogRef dialog,
                                               bool redraw) {
  if (!IsStarted()) return;
  uint64_t freeBytes = 0, totalBytes = 0;
  mFreeSpaceText.clear();
  if (VQ7::CVolumeLister::VolumeSizes(context->GetLocation(), freeBytes, totalBytes))
    mFreeSpaceText = GetByteSizeStr(freeBytes);
  if (!redraw) return;
  ThrowIfNot_(dialog->GetItemType(nFreeSpace) == nUserItemType, "free space item");
  dialog->InvalItem(nFreeSpace);
}
