#pragma once

#include "Executable/Com/Card/CModel.h"
#include "SL/Com/Format/CWaveFileFormat.h"
#include "SL/Com/Wave/IWave.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace UL {
class IProgress;
}

namespace VQ7 {

class CDomain;
class IFileOperations;
class IView;

// The use-case controller: opens a card, selects bank and pad, answers the
// window's queries, and imports, exports and deletes samples. Main thread
// only. It reports to the window through IView and to the user through
// CDomain::HandleError.
//
// A change of the card stages every new file in the card folder under a
// temporary name, makes it durable, and commits with renames: sample files
// first and the sample-information file last on import (with the pad first
// committed empty when a new file is shorter than the old record reads), the
// sample-information file first on delete. Before the commit the card is as
// it was; after it the change has taken effect, and every record of the card
// points at whole files throughout.
class CController {
public:
  static char const* const sTemporarySampleFileName;
  static char const* const sTemporarySampleInformationFileName;
  static char const* const sTemporaryWaveFileName;

  explicit CController(CDomain& domain);

  void Initialize(IView& view);
  bool ClassInvariant() const { return true; }

  // The domain's current model; a reference lasts until the next volume
  // change, import or delete.
  CModel& Model();
  CModel const& Model() const;
  std::string const& GetCurrentVolumeName() const;
  long GetCurrentBankId() const;
  long GetCurrentPadId() const;
  bool IsCurrentVolumeValid() const;
  bool IsPadValid(long pad) const;
  static std::string GetSampleInformationFilePathName(std::string const& volume);

  // Opens the card at the mount path; a bank outside the card's is taken as
  // the nearest one. On failure reports InvalidDrive and installs the empty
  // model. Calls view slots 2 to 6 on every outcome.
  bool SelectCurrentVolume(std::string const& volume, long bank);
  bool SelectCurrentVolume();
  bool SelectCurrentBank(long bank);
  bool SelectCurrentPad(long pad);

  // The wave of a WAV or AIFF file without its samples, and its format;
  // an empty pointer and the default format when it cannot be read.
  std::pair<boost::shared_ptr<SL::IWave>, SL::CWaveFileFormat> PeekWave(std::string const& path);
  bool CanImport(SL::IWave const& wave);
  unsigned long long ComputeImportedWaveByteSize(SL::IWave const& wave);
  unsigned long long ComputeExportedWaveByteSize(long bank, long pad,
                                                 SL::CWaveFileFormat format) const;

  // True on success and when the user cancelled; false after a reported
  // failure.
  bool Import(std::string const& path);
  bool Export(std::string const& path, SL::CWaveFileFormat const& format);
  bool Delete(long pad);

  // Writes the model as a sample-information file at path.
  bool SaveSampleInformation(CModel const& model, std::string const& path);

  // Where the file steps go; the real file system unless replaced.
  void SetFileOperations(IFileOperations& operations) { mFiles = &operations; }

private:
  class CChange;

  bool ImportSteps(std::string const& path, SL::IWave const& wave, UL::IProgress& progress,
                   CChange& change);
  bool DeleteSteps(long pad, CChange& change);
  bool ExportSteps(std::string const& path, SL::CWaveFileFormat const& format,
                   std::string const& temporary, UL::IProgress& progress, CChange const& change);
  bool CommitInformation(CModel const& model, CChange& change, bool syncAfter);
  void Committed(boost::shared_ptr<CModel> const& model, CChange const& change);
  // The files of a slot (of every slot for -1) that its record does not use.
  void RemoveUnusedFiles(CModel const& model, long onlySlot);
  bool IsSameCardOpen(CChange const& change) const;
  bool IsInsideCardFolder(std::string const& path) const;
  bool SampleInformationBytes(CModel const& model, std::string& bytes) const;
  boost::shared_ptr<CModel> ReadCard(std::string const& volume) const;
  void ReloadModel(CChange const& change);
  void StopPlayback();
  void UpdateView(int firstSlot);

  CDomain& mDomain;
  IView* mView;
  IFileOperations* mFiles;
};

}  // namespace VQ7
