#include "Executable/Linux/FileDialog/CFileDesignator.h"

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "GT/Com/Text/CPathSplitter.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/UModalState.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>

namespace {

ResIDT const nItemList = 1001;
int const nAreaWidth = 400;
int const nAreaHeight = 77;

}  // namespace

char const* const CFileDesignator::sExportFileNameKey = "ExportFileName";
char const* const CFileDesignator::sExportFileTypeKey = "ExportFileType";

CFileDesignator::CFileDesignator(VQ7::CDomain* domain)
    : CFileDialogBase(nItemList, nAreaWidth, nAreaHeight),
      mDomain(domain),
      mController(domain->Controller()),
      mAiffChosen(true),
      mChosen(),
      mDialog(nullptr) {}

std::string CFileDesignator::GetStaticText(short id) const {
  if (id == nConvertSize) return mConvertSizeText;
  if (id == nFreeSpace) return mFreeSpaceText;
  return std::string();
}

std::string CFileDesignator::CutName(std::string const& name) {
  if (name.size() <= nMaxNameBytes) return name;
  std::size_t end = nMaxNameBytes;
  // Back off over continuation bytes to the start of the cut character.
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return name.substr(0, end);
}

std::string CFileDesignator::SwapExtension(std::string const& name, bool aiff) {
  GT::CPathSplitter const splitter(name, '/');
  return splitter.GetName() + (aiff ? ".aif" : ".wav");
}

bool CFileDesignator::AskDesignateFile() {
  boost::shared_ptr<GT::IProfile> profile = mDomain->CreateProfile();
  std::string const name = profile->Read(sExportFileNameKey, std::string("Untitled.aif"));
  mAiffChosen = profile->Read(sExportFileTypeKey, static_cast<long>(nTypeAiff)) == nTypeAiff;

  QFileDialog dialog;
  mDialog = &dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.selectFile(QString::fromStdString(CutName(name)));
  StartCustomArea(dialog);
  QComboBox* popup = qobject_cast<QComboBox*>(Item(nFormatPopup));
  ThrowIfNot_(popup != nullptr, "format popup");
  popup->setCurrentIndex(mAiffChosen ? 0 : 1);
  QObject::connect(popup, QOverload<int>::of(&QComboBox::activated), [this](int index) {
    CatchAndReport("format", [this, index] { ChooseFormat(index == 0); });
  });
  // The figure follows the folder shown, however it was reached: Back,
  // Forward and a typed path change the folder without entering it.
  auto follow = [this](QString const& folder) {
    CatchAndReport("folder", [this, folder] { UpdateDriveFreeSpaceText(folder.toStdString()); });
  };
  if (QFileSystemModel* model = dialog.findChild<QFileSystemModel*>())
    QObject::connect(model, &QFileSystemModel::rootPathChanged, follow);
  else
    QObject::connect(&dialog, &QFileDialog::directoryEntered, follow);
  UpdateConvertSizeText();
  UpdateDriveFreeSpaceText(dialog.directory().absolutePath().toStdString());

  bool const accepted =
      UModalState::Run(dialog) == QDialog::Accepted && dialog.selectedFiles().size() == 1;
  QString const chosen = accepted ? dialog.selectedFiles().front() : QString();
  EndCustomArea();
  mDialog = nullptr;
  if (!accepted) return false;
  mChosen = chosen.toStdString();
  profile->Write(sExportFileNameKey, CutName(QFileInfo(chosen).fileName().toStdString()));
  profile->Write(sExportFileTypeKey, static_cast<long>(mAiffChosen ? nTypeAiff : nTypeWave));
  return true;
}

void CFileDesignator::ChooseFormat(bool aiff) {
  if (aiff == mAiffChosen) return;
  mAiffChosen = aiff;
  if (mDialog) {
    QLineEdit* field = mDialog->findChild<QLineEdit*>("fileNameEdit");
    std::string const name = field ? field->text().toStdString() : std::string();
    std::string const swapped = CutName(SwapExtension(name, aiff));
    if (field)
      field->setText(QString::fromStdString(swapped));
    else
      mDialog->selectFile(QString::fromStdString(swapped));
  }
  UpdateConvertSizeText();
}

void CFileDesignator::UpdateConvertSizeText() {
  SL::CWaveFileFormat const format =
      mAiffChosen ? SL::CWaveFileFormat::FormAiff : SL::CWaveFileFormat::RiffWave;
  mConvertSizeText = GetByteSizeStr(mController.ComputeExportedWaveByteSize(
      mController.GetCurrentBankId(), mController.GetCurrentPadId(), format));
  UpdateStaticTexts(nConvertSize, nConvertSize);
}

void CFileDesignator::UpdateDriveFreeSpaceText(std::string const& folder) {
  uint64_t freeBytes = 0, totalBytes = 0;
  mFreeSpaceText.clear();
  if (VQ7::CVolumeLister::VolumeSizes(folder, freeBytes, totalBytes))
    mFreeSpaceText = GetByteSizeStr(freeBytes);
  UpdateStaticTexts(nFreeSpace, nFreeSpace);
}
