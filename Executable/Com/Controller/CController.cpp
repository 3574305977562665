#include "Executable/Com/Controller/CController.h"

#include "Executable/Com/Conversion/CConverter.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Card/CModelMarshaller.h"
#include "Executable/Com/Playback/CPlayer.h"
#include "Executable/Com/Card/CSampleInformationDto.h"
#include "Executable/Com/Conversion/Constants.h"
#include "Executable/Com/Card/FileUtilities.h"
#include "Executable/Com/Card/IFileOperations.h"
#include "Executable/Com/Controller/IView.h"
#include "GT/Com/Text/StringTools.h"
#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Iff/Aiff/CFormAiffDto.h"
#include "SL/Com/Iff/Aiff/CWaveMarshallerToFormAiffDto.h"
#include "SL/Com/Iff/CFileDataSource.h"
#include "SL/Com/Iff/Wav/CRiffWaveDto.h"
#include "SL/Com/Iff/Wav/CWaveMarshallerToRiffWaveDto.h"
#include "SL/Com/Kvac/KvacBlock.h"
#include "UL/Com/Cursor/CWaitCursor.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace VQ7 {

char const* const CController::sTemporarySampleFileName = "___VQ7_TEMPORARY_SAMPLE_FILE___";
char const* const CController::sTemporarySampleInformationFileName =
    "___VQ7_TEMPORARY_SAMPLE_INFORMATION_FILE___";
char const* const CController::sTemporaryWaveFileName = "___VQ7_TEMPORARY_WAVE_FILE___";

namespace {

// What every temporary name of ours starts with.
char const nTemporaryPrefix[] = "___VQ7_TEMPORARY_";
// The longest sample a record can describe, in whole blocks.
long const nMaximumLength = 0x7FFFFFF0L;

std::string CardFolder(std::string const& volume) { return volume + "/TAVRIN/VQ730"; }

bool IsRegularFile(std::string const& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// Bytes each channel file of a record must hold for the record's length:
// only whole blocks decode.
uint64_t RequiredFileBytes(CSampleParameter const& parameter) {
  if (parameter.mLength <= 0) return 0;
  bool const lofi = parameter.mLofi == 1;
  uint64_t const frames = static_cast<uint64_t>(parameter.mLength) * (lofi ? 2u : 1u);
  uint64_t const blocks = (frames + SL::nKvacBlockFrames - 1) / SL::nKvacBlockFrames;
  return blocks * static_cast<uint64_t>(SL::KvacBlockBytes(lofi ? 4 : 8));
}

uint64_t RoundUp(uint64_t bytes, uint64_t block) {
  return block == 0 ? bytes : (bytes + block - 1) / block * block;
}

long FrameCount(SL::IWave const& wave) {
  GT::CRange<long> const location = wave.GetLocation();
  return location.end - location.begin;
}

bool IsSlot(long bank, long pad) {
  return bank >= 0 && bank < CModel::nBankCount && pad >= 0 && pad < CModel::nPadCount;
}

template <class Dto, class Factory, class Marshaller>
boost::shared_ptr<SL::IWave> PeekAs(std::istream& stream, bool& readable) {
  readable = Dto(boost::make_shared<Factory>(true)).CanRead(stream);
  if (!readable) return boost::shared_ptr<SL::IWave>();
  Dto dto(boost::make_shared<Factory>(false));
  if (!dto.Read(stream)) return boost::shared_ptr<SL::IWave>();
  return boost::shared_ptr<SL::IWave>(Marshaller().Unmarshall(dto).release());
}

}  // namespace

// What one import, export or delete keeps while it runs: the model and the
// card it began on, and every temporary it may have made. The model is held
// by ownership: the progress window and the alerts run the event loop, and a
// volume change there installs another.
class CController::CChange {
public:
  CChange(IFileOperations& files, boost::shared_ptr<CModel const> const& model, long pad)
      : mFiles(files),
        mModel(model),
        mVolume(model->mVolume),
        mBank(model->mBank),
        mPad(pad),
        mVolumeId(0),
        mHasVolumeId(false),
        mTouched(false) {
    if (!mVolume.empty()) mHasVolumeId = files.GetVolumeId(CardFolder(mVolume), mVolumeId);
  }

  IFileOperations& Files() { return mFiles; }
  CModel const& Model() const { return *mModel; }
  bool IsModel(boost::shared_ptr<CModel> const& model) const { return model.get() == mModel.get(); }
  std::string const& Volume() const { return mVolume; }
  std::string Folder() const { return CardFolder(mVolume); }
  long Bank() const { return mBank; }
  long Pad() const { return mPad; }
  bool HasVolumeId() const { return mHasVolumeId; }
  int64_t VolumeId() const { return mVolumeId; }

  void AddTemporary(std::string const& path) { mTemporaries.push_back(path); }
  // From the first step that changes the card on, a failure has the model
  // read again from the card.
  void Touch() { mTouched = true; }
  bool Touched() const { return mTouched; }

  // Each temporary that still exists, in the order they were made; then
  // any temporary of ours left in the card folder by an earlier run.
  void RemoveTemporaries() {
    for (std::string const& path : mTemporaries)
      if (mFiles.IsFile(path)) mFiles.Remove(path);
    if (mTouched) SweepTemporaries(mFiles, Folder());
    std::string const privateFolder = GetTemporaryDirectoryName();
    if (!privateFolder.empty()) SweepTemporaries(mFiles, privateFolder);
  }

  static void SweepTemporaries(IFileOperations& files, std::string const& folder) {
    for (std::string const& name : files.ListFolder(folder)) {
      if (name.compare(0, sizeof nTemporaryPrefix - 1, nTemporaryPrefix) != 0) continue;
      std::string const path = folder + "/" + name;
      if (files.IsFile(path)) files.Remove(path);
    }
  }

private:
  IFileOperations& mFiles;
  boost::shared_ptr<CModel const> mModel;
  std::string mVolume;
  long mBank;
  long mPad;
  int64_t mVolumeId;
  bool mHasVolumeId;
  bool mTouched;
  std::vector<std::string> mTemporaries;
};

CController::CController(CDomain& domain)
    : mDomain(domain), mView(nullptr), mFiles(&GetFileOperations()) {}

void CController::Initialize(IView& view) { mView = &view; }

CModel& CController::Model() { return *mDomain.GetModel(); }

CModel const& CController::Model() const { return *mDomain.GetModel(); }

std::string const& CController::GetCurrentVolumeName() const { return Model().mVolume; }

long CController::GetCurrentBankId() const { return Model().mBank; }

long CController::GetCurrentPadId() const { return Model().mPad; }

bool CController::IsCurrentVolumeValid() const { return Model().mBank >= 0; }

bool CController::IsPadValid(long pad) const {
  CModel const& model = Model();
  if (model.mBank < 0 || !IsSlot(model.mBank, pad)) return false;
  return model.IsSampleAssigned(model.mBank, pad);
}

std::string CController::GetSampleInformationFilePathName(std::string const& volume) {
  return CModel::GetSampleInformationFilePathName(volume);
}

// ---- selections ----

boost::shared_ptr<CModel> CController::ReadCard(std::string const& volume) const {
  boost::shared_ptr<CModel> none;
  if (volume.empty()) return none;
  std::string const path = CModel::GetSampleInformationFilePathName(volume);
  // A FIFO or device in the card's place would block the reader.
  if (!IsRegularFile(path)) return none;
  boost::shared_ptr<std::istream> stream = SL::CFileDataSource(path, false).CreateInputStream();
  if (!stream) return none;
  CSampleInformationDto dto;
  if (!dto.Read(*stream)) return none;
  stream.reset();
  return CModelMarshaller().Unmarshall(dto);
}

bool CController::SelectCurrentVolume(std::string const& volume, long bank) {
  StopPlayback();
  bool result = false;
  try {
    boost::shared_ptr<CModel> model = ReadCard(volume);
    if (model) {
      model->mVolume = volume;
      model->mBank = CModel::ClampBank(bank);
      // Temporaries and unused files of an import or delete that was cut
      // short.
      CChange::SweepTemporaries(*mFiles, CardFolder(volume));
      RemoveUnusedFiles(*model, -1);
      mDomain.SetModel(model);
      result = true;
    } else {
      CDomain::HandleError(InvalidDrive);
      mDomain.SetModel(boost::shared_ptr<CModel>(new CModel));
    }
  } catch (...) {
    mDomain.SetModel(boost::shared_ptr<CModel>(new CModel));
    UpdateView(2);
    throw;
  }
  UpdateView(2);
  return result;
}

bool CController::SelectCurrentVolume() {
  CModel const& model = Model();
  return SelectCurrentVolume(std::string(model.mVolume), model.mBank);
}

bool CController::SelectCurrentBank(long bank) {
  StopPlayback();
  bool result = false;
  if (IsCurrentVolumeValid() && bank >= 0 && bank < CModel::nBankCount) {
    Model().mBank = static_cast<int32_t>(bank);
    result = true;
  }
  UpdateView(2);
  return result;
}

bool CController::SelectCurrentPad(long pad) {
  bool result = false;
  if (IsCurrentVolumeValid() && pad >= 0 && pad < CModel::nPadCount) {
    Model().mPad = static_cast<int32_t>(pad);
    result = true;
  }
  UpdateView(3);
  return result;
}

// ---- queries ----

std::pair<boost::shared_ptr<SL::IWave>, SL::CWaveFileFormat> CController::PeekWave(
    std::string const& path) {
  typedef std::pair<boost::shared_ptr<SL::IWave>, SL::CWaveFileFormat> CResult;
  if (!IsRegularFile(path)) return CResult();
  boost::shared_ptr<std::istream> stream = SL::CFileDataSource(path, false).CreateInputStream();
  if (!stream) return CResult();
  bool readable = false;
  boost::shared_ptr<SL::IWave> wave =
      PeekAs<SL::CRiffWaveDto, SL::CRiffWaveFileChunks::CRiffWaveChunk::CDefaultChunkFactory,
             SL::Private::CWaveMarshallerToRiffWaveDto<SL::nFloat64> >(*stream, readable);
  if (readable) return wave ? CResult(wave, SL::CWaveFileFormat::RiffWave) : CResult();
  wave = PeekAs<SL::CFormAiffDto, SL::CFormAiffFileChunks::CFormAiffChunk::CDefaultChunkFactory,
                SL::Private::CWaveMarshallerToFormAiffDto<SL::nFloat64> >(*stream, readable);
  if (readable && wave) return CResult(wave, SL::CWaveFileFormat::FormAiff);
  return CResult();
}

bool CController::CanImport(SL::IWave const& wave) {
  std::size_t const channels = wave.Channels().size();
  if (channels != 1 && channels != 2) return false;
  if (!(wave.GetOriginalBitDepth() == SL::CBitDepth::Integer16)) return false;
  return wave.GetSampleRate() == nSampleRate;
}

unsigned long long CController::ComputeImportedWaveByteSize(SL::IWave const& wave) {
  long const frames = FrameCount(wave);
  if (frames <= 0) return 0;
  unsigned long long const blocks =
      (static_cast<unsigned long long>(frames) + SL::nKvacBlockFrames - 1) / SL::nKvacBlockFrames;
  // Imports are always coded with 8 bits.
  return blocks * wave.Channels().size() * static_cast<unsigned long long>(SL::KvacBlockBytes(8));
}

unsigned long long CController::ComputeExportedWaveByteSize(long bank, long pad,
                                                            SL::CWaveFileFormat format) const {
  CModel const& model = Model();
  if (model.mBank < 0 || !IsSlot(bank, pad) || !model.IsSampleAssigned(bank, pad)) return 0;
  CSampleParameter const& parameter = model.SampleParameter(bank, pad);
  if (parameter.mLength < 0) return 0;
  unsigned long long const channels = parameter.mStereo ? 2 : 1;
  unsigned long long frames = static_cast<unsigned long long>(parameter.mLength);
  if (parameter.mLofi == 1) frames *= 2;
  unsigned long long const data = frames * channels * 2;
  if (format == SL::CWaveFileFormat::RiffWave) return data + 46;
  if (format == SL::CWaveFileFormat::FormAiff) return data + 54;
  return data;
}

// ---- import ----

bool CController::Import(std::string const& path) {
  UL::CWaitCursor const wait;
  StopPlayback();
  boost::shared_ptr<CModel const> const started = mDomain.GetModel();
  CModel const& model = *started;
  if (!IsSlot(model.mBank, model.mPad)) {
    CDomain::HandleError(ImportFailed);
    return false;
  }
  boost::shared_ptr<SL::IWave> const wave = PeekWave(path).first;
  if (!wave || !CanImport(*wave)) {
    CDomain::HandleError(WaveLoadFailed);
    return false;
  }
  long const frames = FrameCount(*wave);
  if (static_cast<double>(frames) / wave->GetSampleRate() < nMinimumSampleDuration ||
      frames > nMaximumLength) {
    CDomain::HandleError(WaveLoadFailed);
    return false;
  }

  CChange change(*mFiles, started, model.mPad);
  // Everything staged on the card at once, each file in whole blocks of the
  // volume: the converted files and the new sample-information file. The
  // files they replace go only after the commit, so they count as used.
  uint64_t freeBytes = 0, blockBytes = 0;
  if (mFiles->GetVolumeFreeSpace(change.Volume(), freeBytes, blockBytes)) {
    uint64_t const channels = wave->Channels().size();
    uint64_t const needed =
        RoundUp(CSampleInformationDto::nRecordCount *
                    static_cast<uint64_t>(CSampleInformationDto::nRecordSize),
                blockBytes) +
        channels * RoundUp(ComputeImportedWaveByteSize(*wave) / channels, blockBytes);
    if (needed > freeBytes) {
      CDomain::HandleError(CardFull);
      return false;
    }
  }

  boost::shared_ptr<UL::IProgress> const progress = mDomain.CreateProgressUi();
  progress->SetTitle(CDomain::sTextCodeTable.ToText(Importing));
  progress->SetCancelable(true);
  progress->Start();
  progress->SetText(CDomain::sTextCodeTable.ToText(Converting));
  bool result = false;
  try {
    result = ImportSteps(path, *wave, *progress, change);
  } catch (...) {
    progress->Stop();
    if (change.Touched()) ReloadModel(change);
    UpdateView(2);
    change.RemoveTemporaries();
    throw;
  }
  progress->Stop();
  if (!result && change.Touched()) ReloadModel(change);
  UpdateView(2);
  change.RemoveTemporaries();
  return result;
}

bool CController::ImportSteps(std::string const& path, SL::IWave const& wave,
                              UL::IProgress& progress, CChange& change) {
  IFileOperations& files = change.Files();
  std::string const temporaryFolder = GetTemporaryDirectoryName();
  if (temporaryFolder.empty()) {
    CDomain::HandleError(ImportFailed);
    return false;
  }
  CModel const& current = change.Model();
  std::string const base = current.GetTemporarySampleFilePathName(sTemporarySampleFileName);
  SL::CSampleAttribute written;
  std::vector<std::string> const converted = CConverter(progress).Import(path, base, written);
  for (std::string const& name : converted) change.AddTemporary(name);
  if (progress.IsCanceled()) return true;
  // The conversion opened the source again: it must still be the file that
  // was checked, and the card still the one the import began on.
  if (converted.empty() || written.mChannelCount != static_cast<int>(wave.Channels().size()) ||
      written.mFrameCount != FrameCount(wave) || written.mSampleRate != wave.GetSampleRate() ||
      !IsSameCardOpen(change)) {
    CDomain::HandleError(ImportFailed);
    return false;
  }

  // Copy onto the card under temporary names.
  std::vector<std::string> staged;
  int const count = static_cast<int>(converted.size());
  for (int i = 0; i < count; ++i) {
    std::string const cardTemporary = current.ToCardTemporarySampleFilePathName(converted[i]);
    staged.push_back(cardTemporary);
    change.AddTemporary(cardTemporary);
    change.Touch();
    progress.SetText(GT::FormatString("%s %d/%d", CDomain::sTextCodeTable.ToText(Copying).c_str(),
                                      i + 1, count));
    bool ok = !files.IsFile(cardTemporary) || files.Remove(cardTemporary);
    ok = ok && files.Copy(converted[i], cardTemporary, progress);
    if (progress.IsCanceled()) return true;
    if (!ok) {
      CDomain::HandleError(ImportFailed);
      return false;
    }
  }

  progress.SetCancelable(false);
  progress.SetText(CDomain::sTextCodeTable.ToText(Finalizing));

  // The record describes what the conversion wrote.
  CSampleParameter parameter;
  long const frames = written.mFrameCount;
  int32_t const length = static_cast<int32_t>((frames + SL::nKvacBlockFrames - 1) /
                                              SL::nKvacBlockFrames * SL::nKvacBlockFrames);
  parameter.mField0 = 0;
  parameter.mField1 = length;
  parameter.mLength = length;
  parameter.mStereo = written.mChannelCount == 2;
  parameter.mField5 = 1;
  parameter.mTempo1 = static_cast<int32_t>(CConverter::ComputeBpm(frames));
  parameter.mTempo2 = parameter.mTempo1;

  long const bank = change.Bank(), pad = change.Pad();
  CSampleParameter const old = current.SampleParameter(bank, pad);
  boost::shared_ptr<CModel> copy(new CModel(current));
  copy->SampleParameter(bank, pad) = parameter;
  std::string const finals[2] = {copy->GetSampleFilePathNameL(bank, pad),
                                 copy->GetSampleFilePathNameR(bank, pad)};

  // Until the new record is committed the old one describes the pad: a new
  // file shorter than the old record reads may take the old one's name only
  // once a record with the pad emptied is committed.
  bool emptyFirst = false;
  for (std::size_t j = 0; j < staged.size(); ++j) {
    uint64_t size = 0;
    if (!files.GetFileSize(staged[j], size)) {
      CDomain::HandleError(ImportFailed);
      return false;
    }
    emptyFirst = emptyFirst || ((j == 0 || old.mStereo) && size < RequiredFileBytes(old));
  }
  CModel emptied(current);
  emptied.SampleParameter(bank, pad) = CSampleParameter();
  bool ok = IsSameCardOpen(change) && (!emptyFirst || CommitInformation(emptied, change, true));
  for (std::size_t j = 0; ok && j < staged.size(); ++j) ok = files.Rename(staged[j], finals[j]);
  if (!ok || !CommitInformation(*copy, change, false)) {
    CDomain::HandleError(ImportFailed);
    return false;
  }
  Committed(copy, change);
  return true;
}

// ---- export ----

bool CController::Export(std::string const& path, SL::CWaveFileFormat const& format) {
  UL::CWaitCursor const wait;
  StopPlayback();
  boost::shared_ptr<CModel const> const started = mDomain.GetModel();
  CModel const& model = *started;
  long const bank = model.mBank, pad = model.mPad;
  if (!IsSlot(bank, pad) || !model.IsSampleAssigned(bank, pad) ||
      model.SampleParameter(bank, pad).mLength < 0 || !IsWritable(path) ||
      IsInsideCardFolder(path)) {
    CDomain::HandleError(ExportFailed);
    return false;
  }
  uint64_t freeBytes = 0, blockBytes = 0;
  if (mFiles->GetVolumeFreeSpace(path, freeBytes, blockBytes) &&
      ComputeExportedWaveByteSize(bank, pad, format) > freeBytes) {
    CDomain::HandleError(DiskFull);
    return false;
  }

  std::string::size_type const slash = path.rfind('/');
  std::string const folder = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string temporary;
  if (!mFiles->CreateUnique(folder.empty() ? "/" : folder, sTemporaryWaveFileName, temporary)) {
    CDomain::HandleError(ExportFailed);
    return false;
  }

  CChange change(*mFiles, started, pad);
  boost::shared_ptr<UL::IProgress> const progress = mDomain.CreateProgressUi();
  progress->SetTitle(CDomain::sTextCodeTable.ToText(Exporting));
  progress->SetCancelable(true);
  progress->Start();
  progress->SetText(CDomain::sTextCodeTable.ToText(Converting));
  bool result = false;
  try {
    result = ExportSteps(path, format, temporary, *progress, change);
  } catch (...) {
    progress->Stop();
    if (mFiles->IsFile(temporary)) mFiles->Remove(temporary);
    throw;
  }
  progress->Stop();
  if (mFiles->IsFile(temporary)) mFiles->Remove(temporary);
  return result;
}

bool CController::ExportSteps(std::string const& path, SL::CWaveFileFormat const& format,
                              std::string const& temporary, UL::IProgress& progress,
                              CChange const& change) {
  CModel const& model = change.Model();
  CSampleParameter const& parameter = model.SampleParameter(change.Bank(), change.Pad());
  bool const lofi = parameter.mLofi == 1;
  long const length = static_cast<long>(parameter.mLength) * (lofi ? 2 : 1);
  std::vector<std::string> sources(1, model.GetSampleFilePathNameL(change.Bank(), change.Pad()));
  if (parameter.mStereo)
    sources.push_back(model.GetSampleFilePathNameR(change.Bank(), change.Pad()));

  bool const ok = CConverter(progress).Export(sources, temporary, format, length, lofi);
  if (progress.IsCanceled()) return true;
  if (!ok) {
    CDomain::HandleError(ExportFailed);
    return false;
  }
  progress.SetCancelable(false);
  progress.SetText(CDomain::sTextCodeTable.ToText(Finalizing));
  std::string::size_type const slash = path.rfind('/');
  std::string const folder = slash == std::string::npos ? "." : path.substr(0, slash);
  if (!mFiles->Sync(temporary) || !IsSameCardOpen(change) || !mFiles->Rename(temporary, path) ||
      !mFiles->SyncFolder(folder.empty() ? "/" : folder)) {
    CDomain::HandleError(ExportFailed);
    return false;
  }
  return true;
}

// ---- delete ----

bool CController::Delete(long pad) {
  UL::CWaitCursor const wait;
  StopPlayback();
  CChange change(*mFiles, mDomain.GetModel(), pad);
  bool result = false;
  try {
    if (!IsSlot(change.Bank(), pad)) {
      CDomain::HandleError(DeleteFailed);
    } else {
      result = DeleteSteps(pad, change);
      if (!result && change.Touched()) ReloadModel(change);
    }
  } catch (...) {
    if (change.Touched()) ReloadModel(change);
    UpdateView(3);
    change.RemoveTemporaries();
    throw;
  }
  UpdateView(3);
  change.RemoveTemporaries();
  return result;
}

bool CController::DeleteSteps(long pad, CChange& change) {
  boost::shared_ptr<CModel> copy(new CModel(change.Model()));
  copy->SampleParameter(change.Bank(), pad) = CSampleParameter();
  // The commit: the sample-information file first, so no record points at
  // the files while they go.
  change.Touch();
  if (!IsSameCardOpen(change) || !CommitInformation(*copy, change, false)) {
    CDomain::HandleError(DeleteFailed);
    return false;
  }
  Committed(copy, change);
  return true;
}

// ---- helpers ----

// What import and delete stage their new information file with: written and
// synced before the commit renames it over the card's.
bool CController::SaveSampleInformation(CModel const& model, std::string const& path) {
  std::string bytes;
  return SampleInformationBytes(model, bytes) && mFiles->Write(path, bytes);
}

bool CController::SampleInformationBytes(CModel const& model, std::string& bytes) const {
  boost::shared_ptr<CSampleInformationDto> const dto = CModelMarshaller().Marahsll(model);
  if (!dto) return false;
  std::ostringstream stream;
  if (!dto->Write(stream)) return false;
  bytes = stream.str();
  return true;
}

// Writes the model's information file beside the card's and renames it over
// it: the commit. A rename done is a commit made, even when the folder's sync
// after it fails, unless that sync must hold before the next step.
bool CController::CommitInformation(CModel const& model, CChange& change, bool syncAfter) {
  IFileOperations& files = change.Files();
  std::string const staged = change.Folder() + "/" + sTemporarySampleInformationFileName;
  change.AddTemporary(staged);
  if (!SaveSampleInformation(model, staged) || !files.SyncFolder(change.Folder()) ||
      !files.Rename(staged, model.GetSampleInformationFilePathName()))
    return false;
  bool const synced = files.SyncFolder(change.Folder());
  return synced || !syncAfter;
}

// After the commit the change has taken effect, whatever fails after it;
// files the new record does not use and that cannot go now go when the card
// is opened next.
void CController::Committed(boost::shared_ptr<CModel> const& model, CChange const& change) {
  mDomain.SetModel(model);
  RemoveUnusedFiles(*model, change.Bank() * CModel::nPadCount + change.Pad());
}

void CController::RemoveUnusedFiles(CModel const& model, long onlySlot) {
  bool removed = false;
  for (long slot = 0; slot < CModel::nSlotCount; ++slot) {
    if (onlySlot >= 0 && slot != onlySlot) continue;
    long const bank = slot / CModel::nPadCount, pad = slot % CModel::nPadCount;
    CSampleParameter const& parameter = model.SampleParameter(bank, pad);
    std::string const files[2] = {model.GetSampleFilePathNameL(bank, pad),
                                  model.GetSampleFilePathNameR(bank, pad)};
    // In use by the window's rule: a record is assigned whenever its length
    // is not 0, also a length that reads negative.
    int const used = model.IsSampleAssigned(bank, pad) ? (parameter.mStereo ? 2 : 1) : 0;
    for (int side = used; side < 2; ++side) {
      if (mFiles->IsFile(files[side]) && mFiles->Remove(files[side])) removed = true;
    }
  }
  if (removed) mFiles->SyncFolder(CardFolder(model.mVolume));
}

bool CController::IsSameCardOpen(CChange const& change) const {
  CModel const& model = Model();
  if (model.mVolume != change.Volume() || model.mBank < 0) return false;
  int64_t volumeId = 0;
  bool const hasId = mFiles->GetVolumeId(change.Folder(), volumeId);
  if (hasId != change.HasVolumeId() || (hasId && volumeId != change.VolumeId())) return false;
  // Mount ids are used again once free: another card put in at the same
  // place, or this one changed meanwhile, shows in the records it holds.
  boost::shared_ptr<CModel> const card = ReadCard(change.Volume());
  std::string onCard, started;
  return card && SampleInformationBytes(*card, onCard) &&
         SampleInformationBytes(change.Model(), started) && onCard == started;
}

bool CController::IsInsideCardFolder(std::string const& path) const {
  namespace fs = std::filesystem;
  std::error_code error;
  std::string const volume = Model().mVolume;
  fs::path const root = fs::weakly_canonical(volume, error);
  if (error) return false;
  fs::path const card = root / "TAVRIN" / "VQ730";
  fs::path const folder = fs::weakly_canonical(path, error).parent_path();
  if (error) return false;
  if (fs::equivalent(card, folder, error)) return true;
  // Below the mount point a FAT volume takes any letter case for the same
  // name, and its FUSE driver numbers each spelling apart.
  bool const ignoresCase = IsCaseIgnoringVolume(volume);
  std::size_t const rootParts = static_cast<std::size_t>(std::distance(root.begin(), root.end()));
  std::size_t part = 0;
  auto const same = [&](fs::path const& a, fs::path const& b) {
    std::string const x = a.string(), y = b.string();
    if (!ignoresCase || part++ < rootParts) return x == y;
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char c, char d) {
             return std::tolower(static_cast<unsigned char>(c)) ==
                    std::tolower(static_cast<unsigned char>(d));
           });
  };
  auto const mismatch = std::mismatch(card.begin(), card.end(), folder.begin(), folder.end(), same);
  return mismatch.first == card.end();
}

// After a failure that may have changed the card, the model is read from it
// again; unless a volume change has installed another meanwhile.
void CController::ReloadModel(CChange const& change) {
  if (!change.IsModel(mDomain.GetModel())) return;
  CModel const& model = Model();
  boost::shared_ptr<CModel> reread = ReadCard(model.mVolume);
  if (reread) {
    reread->mVolume = model.mVolume;
    reread->mBank = model.mBank;
    reread->mPad = model.mPad;
  } else {
    reread.reset(new CModel);
  }
  mDomain.SetModel(reread);
}

void CController::StopPlayback() { mDomain.Player().Stop(); }

void CController::UpdateView(int firstSlot) {
  if (mView == nullptr) return;
  if (firstSlot <= 2) mView->UpdataCurrentBankUi();
  mView->UpdataPadUi();
  mView->UpdataImportCommandUi();
  mView->UpdataExportCommandUi();
  mView->UpdataDeleteCommandUi();
}

}  // namespace VQ7
