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

// What one import, export or delete keeps while it runs: the card it began
// on and every temporary it may have made.
class CController::CChange {
public:
  CChange(IFileOperations& files, std::string const& volume, long bank, long pad)
      : mFiles(files),
        mVolume(volume),
        mBank(bank),
        mPad(pad),
        mVolumeId(0),
        mHasVolumeId(false),
        mTouched(false) {
    if (!volume.empty()) mHasVolumeId = files.GetVolumeId(CardFolder(volume), mVolumeId);
  }

  IFileOperations& Files() { return mFiles; }
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
      // Temporaries of an import or delete that was cut short.
      CChange::SweepTemporaries(*mFiles, CardFolder(volume));
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
  CModel const& model = Model();
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

  CChange change(*mFiles, model.mVolume, model.mBank, model.mPad);
  // Everything staged on the card at once, each file in whole blocks of the
  // volume: the converted files (kept at least as long as the files they
  // replace until the commit) and the new sample-information file.
  uint64_t freeBytes = 0, blockBytes = 0;
  if (mFiles->GetVolumeFreeSpace(change.Volume(), freeBytes, blockBytes)) {
    CSampleParameter const& old = model.SampleParameter(change.Bank(), change.Pad());
    std::size_t const channels = wave->Channels().size();
    uint64_t const perChannel = ComputeImportedWaveByteSize(*wave) / channels;
    uint64_t needed = RoundUp(CSampleInformationDto::nRecordCount *
                                  static_cast<uint64_t>(CSampleInformationDto::nRecordSize),
                              blockBytes);
    for (std::size_t channel = 0; channel < channels; ++channel) {
      bool const replaces = channel == 0 || old.mStereo;
      uint64_t const kept = replaces ? RequiredFileBytes(old) : 0;
      needed += RoundUp(std::max(perChannel, kept), blockBytes);
    }
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
    if (change.Touched()) ReloadModel();
    UpdateView(2);
    change.RemoveTemporaries();
    throw;
  }
  progress->Stop();
  if (!result && change.Touched()) ReloadModel();
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
  CModel const& current = Model();
  std::string const base = current.GetTemporarySampleFilePathName(sTemporarySampleFileName);
  std::vector<std::string> const converted = CConverter(progress).Import(path, base);
  for (std::string const& name : converted) change.AddTemporary(name);
  if (progress.IsCanceled()) return true;
  if (converted.empty()) {
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

  CSampleParameter parameter;
  long const frames = FrameCount(wave);
  int32_t const length = static_cast<int32_t>((frames + SL::nKvacBlockFrames - 1) /
                                              SL::nKvacBlockFrames * SL::nKvacBlockFrames);
  parameter.mField0 = 0;
  parameter.mField1 = length;
  parameter.mLength = length;
  parameter.mStereo = wave.Channels().size() == 2;
  parameter.mField5 = 1;
  parameter.mTempo1 = static_cast<int32_t>(CConverter::ComputeBpm(frames));
  parameter.mTempo2 = parameter.mTempo1;

  CSampleParameter const old = current.SampleParameter(change.Bank(), change.Pad());
  boost::shared_ptr<CModel> copy(new CModel(current));
  copy->SampleParameter(change.Bank(), change.Pad()) = parameter;
  std::string const finals[2] = {copy->GetSampleFilePathNameL(change.Bank(), change.Pad()),
                                 copy->GetSampleFilePathNameR(change.Bank(), change.Pad())};

  // Until the sample-information file is replaced, the old record still
  // describes the pad: a new file that takes an old one's name must hold at
  // least the bytes the old record reads. The padding goes after the commit.
  uint64_t const oldBytes = RequiredFileBytes(old);
  std::vector<uint64_t> sizes(staged.size(), 0);
  std::vector<bool> padded(staged.size(), false);
  for (std::size_t j = 0; j < staged.size(); ++j) {
    bool const replaces = j == 0 || old.mStereo;
    if (!files.GetFileSize(staged[j], sizes[j])) {
      CDomain::HandleError(ImportFailed);
      return false;
    }
    if (replaces && sizes[j] < oldBytes) {
      if (!files.Resize(staged[j], oldBytes)) {
        CDomain::HandleError(ImportFailed);
        return false;
      }
      padded[j] = true;
    }
  }

  std::string bytes;
  std::string const cardInfo = copy->GetSampleInformationFilePathName();
  std::string const stagedInfo = change.Folder() + "/" + sTemporarySampleInformationFileName;
  change.AddTemporary(stagedInfo);
  if (!SampleInformationBytes(*copy, bytes) || !files.Write(stagedInfo, bytes) ||
      !files.SyncFolder(change.Folder()) || !IsSameCardOpen(change)) {
    CDomain::HandleError(ImportFailed);
    return false;
  }

  // The commit: sample files first, the sample-information file last.
  for (std::size_t j = 0; j < staged.size(); ++j) {
    if (!files.Rename(staged[j], finals[j])) {
      CDomain::HandleError(ImportFailed);
      return false;
    }
  }
  if (!files.Rename(stagedInfo, cardInfo) || !files.SyncFolder(change.Folder())) {
    CDomain::HandleError(ImportFailed);
    return false;
  }

  // What the new record no longer needs.
  bool ok = true;
  if (old.mStereo && !parameter.mStereo && files.IsFile(finals[1])) ok = files.Remove(finals[1]);
  for (std::size_t j = 0; ok && j < staged.size(); ++j)
    if (padded[j]) ok = files.Resize(finals[j], sizes[j]);
  ok = ok && files.SyncFolder(change.Folder());
  if (!ok) {
    CDomain::HandleError(ImportFailed);
    return false;
  }
  mDomain.SetModel(copy);
  return true;
}

// ---- export ----

bool CController::Export(std::string const& path, SL::CWaveFileFormat const& format) {
  UL::CWaitCursor const wait;
  StopPlayback();
  CModel const& model = Model();
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

  boost::shared_ptr<UL::IProgress> const progress = mDomain.CreateProgressUi();
  progress->SetTitle(CDomain::sTextCodeTable.ToText(Exporting));
  progress->SetCancelable(true);
  progress->Start();
  progress->SetText(CDomain::sTextCodeTable.ToText(Converting));
  CChange change(*mFiles, model.mVolume, bank, pad);
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
  CModel const& model = Model();
  CSampleParameter const& parameter = model.SampleParameter(change.Bank(), change.Pad());
  bool const lofi = parameter.mLofi == 1;
  long const length = static_cast<long>(parameter.mLength) * (lofi ? 2 : 1);
  std::vector<std::string> sources(1, model.GetSampleFilePathNameL(change.Bank(), change.Pad()));
  if (parameter.mStereo)
    sources.push_back(model.GetSampleFilePathNameR(change.Bank(), change.Pad()));

  bool const ok = CConverter(progress).Export(sources, temporary, format, length, lofi);
  if (progress.IsCanceled()) return true;
  progress.SetCancelable(false);
  progress.SetText(CDomain::sTextCodeTable.ToText(Finalizing));
  std::string::size_type const slash = path.rfind('/');
  std::string const folder = slash == std::string::npos ? "." : path.substr(0, slash);
  if (!ok || !mFiles->Sync(temporary) || !IsSameCardOpen(change) ||
      !mFiles->Rename(temporary, path) || !mFiles->SyncFolder(folder.empty() ? "/" : folder)) {
    CDomain::HandleError(ExportFailed);
    return false;
  }
  return true;
}

// ---- delete ----

bool CController::Delete(long pad) {
  UL::CWaitCursor const wait;
  StopPlayback();
  CModel const& model = Model();
  CChange change(*mFiles, model.mVolume, model.mBank, pad);
  bool result = false;
  try {
    if (!IsSlot(change.Bank(), pad)) {
      CDomain::HandleError(DeleteFailed);
    } else {
      result = DeleteSteps(pad, change);
      if (!result && change.Touched()) ReloadModel();
    }
  } catch (...) {
    if (change.Touched()) ReloadModel();
    UpdateView(3);
    change.RemoveTemporaries();
    throw;
  }
  UpdateView(3);
  change.RemoveTemporaries();
  return result;
}

bool CController::DeleteSteps(long pad, CChange& change) {
  IFileOperations& files = change.Files();
  CModel const& current = Model();
  boost::shared_ptr<CModel> copy(new CModel(current));
  copy->SampleParameter(change.Bank(), pad) = CSampleParameter();
  std::string const finals[2] = {copy->GetSampleFilePathNameL(change.Bank(), pad),
                                 copy->GetSampleFilePathNameR(change.Bank(), pad)};

  // The commit: the sample-information file first, so no record points at
  // the files while they go.
  std::string bytes;
  std::string const stagedInfo = change.Folder() + "/" + sTemporarySampleInformationFileName;
  change.AddTemporary(stagedInfo);
  change.Touch();
  if (!SampleInformationBytes(*copy, bytes) || !files.Write(stagedInfo, bytes) ||
      !files.SyncFolder(change.Folder()) || !IsSameCardOpen(change) ||
      !files.Rename(stagedInfo, copy->GetSampleInformationFilePathName()) ||
      !files.SyncFolder(change.Folder())) {
    CDomain::HandleError(DeleteFailed);
    return false;
  }
  bool ok = true;
  for (std::string const& file : finals)
    if (ok && files.IsFile(file)) ok = files.Remove(file);
  ok = ok && files.SyncFolder(change.Folder());
  if (!ok) {
    CDomain::HandleError(DeleteFailed);
    return false;
  }
  mDomain.SetModel(copy);
  return true;
}

// ---- helpers ----

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

bool CController::IsSameCardOpen(CChange const& change) const {
  CModel const& model = Model();
  if (model.mVolume != change.Volume() || model.mBank < 0) return false;
  int64_t volumeId = 0;
  bool const hasId = mFiles->GetVolumeId(change.Folder(), volumeId);
  return hasId == change.HasVolumeId() && (!hasId || volumeId == change.VolumeId());
}

bool CController::IsInsideCardFolder(std::string const& path) const {
  std::error_code error;
  std::filesystem::path const card =
      std::filesystem::weakly_canonical(CardFolder(Model().mVolume), error);
  if (error) return false;
  std::filesystem::path const target = std::filesystem::weakly_canonical(path, error);
  if (error) return false;
  std::filesystem::path const folder = target.parent_path();
  auto const mismatch = std::mismatch(card.begin(), card.end(), folder.begin(), folder.end());
  return mismatch.first == card.end();
}

void CController::ReloadModel() {
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
