#pragma once

// A started domain on a card folder: a recording view and alert, a progress
// that cancels at a chosen stage, file steps that fail at a chosen count.

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Controller/IView.h"
#include "Executable/Linux/Utilities/CPosixFileOperations.h"
#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"
#include "UL/Com/Dialog/ATextDialog.h"

#include <boost/make_shared.hpp>

#include <cstdlib>
#include <filesystem>

namespace VQ7Test {

inline std::string CardFolderOf(std::string const& volume) { return volume + "/TAVRIN/VQ730"; }
inline void MakeEmptyCard(std::string const& volume) {
  std::filesystem::create_directories(CardFolderOf(volume));
  Support::WriteBytes(CardFolderOf(volume) + "/WVCINFO0.VQD", std::string(128 * 23, '\0'));
}
inline bool Sox(std::string const& arguments) {
  return std::system(("sox " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}
inline std::vector<unsigned char> Bytes(std::string const& path) {
  std::string const s = Support::ReadBytes(path);
  return std::vector<unsigned char>(s.begin(), s.end());
}

// The 16-bit samples of a file as sox reads them.
inline std::vector<int16_t> ReadBySox(std::string const& path) {
  Sox("'" + path + "' -t raw -e signed -b 16 -L '" + path + ".raw'");
  std::vector<unsigned char> const b = Bytes(path + ".raw");
  std::vector<int16_t> samples(b.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  return samples;
}

// Our temporaries left in a folder, by name.
inline std::string TemporariesIn(std::string const& folder) {
  std::string names;
  std::error_code error;
  for (auto const& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().filename().string().find("___VQ7_TEMPORARY_") == 0)
      names += entry.path().filename().string() + " ";
  return names;
}

struct CRecordingView : VQ7::IView {
  void UpdataCurrentVolumeUi() override { mCalls += "1"; }
  void UpdataCurrentBankUi() override { mCalls += "2"; }
  void UpdataPadUi() override { mCalls += "3"; }
  void UpdataImportCommandUi() override { mCalls += "4"; }
  void UpdataExportCommandUi() override { mCalls += "5"; }
  void UpdataDeleteCommandUi() override { mCalls += "6"; }
  std::string mCalls;
};

// Cancels at the first position set once the text starts with mCancelAt.
struct CCancellingProgress : UL::IProgress {
  void SetPosition(long) override { mCanceled = mCanceled || mArmed; }
  void SetText(std::string const& text) override { mArmed |= text.find(mCancelAt) == 0; }
  void SetCancelable(bool cancelable) override { mCancelable = cancelable; }
  bool IsCanceled() const override { return mCanceled && mCancelable; }
  std::string mCancelAt;
  bool mArmed = false, mCancelable = false, mCanceled = false;
};

// The n-th step that changes files (counted from 1) fails; free space can be
// set.
struct CFaultyFileOperations : VQ7::CPosixFileOperations {
  typedef VQ7::CPosixFileOperations R;
  typedef std::string const& S;
  long mFailAt = 0, mSteps = 0;
  uint64_t mFreeBytes = 0;  // 0: the volume's own
  bool Step() { return ++mSteps != mFailAt; }
  bool GetVolumeFreeSpace(S path, uint64_t& freeBytes, uint64_t& block) override {
    if (mFreeBytes == 0) return R::GetVolumeFreeSpace(path, freeBytes, block);
    freeBytes = mFreeBytes;
    block = 512;
    return true;
  }
  bool Copy(S a, S b, UL::IProgress& p) override { return Step() && R::Copy(a, b, p); }
  bool Write(S a, S b) override { return Step() && R::Write(a, b); }
  bool CreateUnique(S a, S b, std::string& c) override {
    return Step() && R::CreateUnique(a, b, c);
  }
  bool Sync(S a) override { return Step() && R::Sync(a); }
  bool SyncFolder(S a) override { return Step() && R::SyncFolder(a); }
  bool Rename(S a, S b) override { return Step() && R::Rename(a, b); }
  bool Remove(S a) override { return Step() && R::Remove(a); }
};

// Alerts recorded instead of shown; progress objects chosen; no pictures.
struct CTestDomain : VQ7::CDomain, UL::IStateBitmapFactory {
  struct CAlerts : UL::ATextDialog {
    explicit CAlerts(std::vector<std::string>& lines) : mLines(lines) {}
    using UL::ATextDialog::Ask;
    EAnswer Ask(EType type, EIcon icon, std::string const& text) override {
      mLines.push_back(type == Ok && icon == Caution ? text : "another alert");
      return AnswerOk;
    }
    std::vector<std::string>& mLines;
  };
  explicit CTestDomain(boost::shared_ptr<SL::IAudioDeviceFacade> facade = {}) : CDomain(facade) {}
  boost::shared_ptr<UL::ITextDialog> CreateTextDialog() override {
    return boost::make_shared<CAlerts>(mAlerts);
  }
  boost::shared_ptr<UL::IProgress> CreateProgressUi() override {
    return mProgress ? mProgress : boost::make_shared<UL::IProgress>();
  }
  boost::shared_ptr<UL::AStateBitmap> Create(std::string const&, long, bool, bool) override {
    return {};
  }
  std::string GetDirectoryPathName() const override { return ""; }
  boost::shared_ptr<UL::IProgress> mProgress;
  std::vector<std::string> mAlerts;
};

// A domain started with preferences of its own and English messages, an
// empty card folder in a scratch folder.
struct CCardBench {
  explicit CCardBench(boost::shared_ptr<SL::IAudioDeviceFacade> facade = {})
      : mConfig("XDG_CONFIG_HOME", mDir / "config"), mDomain(facade), mVolume(mDir / "CARD") {
    mDomain.Initialize(mDomain);
    VQ7::CDomain::sTextCodeTable.SetPage(GT::CTextCodeTable::PageEnglish);
    mDomain.SetupLogger();
    MakeEmptyCard(mVolume);
    Controller().Initialize(mView);
    Controller().SetFileOperations(mFiles);
  }
  ~CCardBench() { mDomain.Finalize(); }
  std::string Folder() const { return CardFolderOf(mVolume); }
  std::string Info() const { return Folder() + "/WVCINFO0.VQD"; }
  VQ7::CController& Controller() { return mDomain.Controller(); }
  std::vector<std::string>& Messages() { return mDomain.mAlerts; }
  // A file made by sox from "input options -n output options synth ...".
  std::string MakeWave(std::string const& name, std::string const& sox) {
    std::string::size_type const effects = sox.find(" synth");
    std::string const path = mDir / name;
    return Sox(sox.substr(0, effects) + " '" + path + "'" + sox.substr(effects)) ? path : "";
  }
  bool Open(long bank = 0, long pad = 0) {
    return Controller().SelectCurrentVolume(mVolume, bank) && Controller().SelectCurrentPad(pad);
  }

  Support::CPrivateTempDir mDir;
  Support::CScopedEnv mConfig;
  CTestDomain mDomain;
  CRecordingView mView;
  CFaultyFileOperations mFiles;
  std::string mVolume;
};

}  // namespace VQ7Test
