#pragma once

// A card folder opened by a controller with a recording view, a progress that
// cancels at a chosen stage, file steps that fail at a chosen count, and a
// check of what a card holds.

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Controller/IView.h"
#include "Executable/Linux/Utilities/CPosixFileOperations.h"
#include "SL/Com/Base/CLogger.h"
#include "Support/FileBytes.h"
#include "Support/PrivateTempDir.h"

#include <boost/make_shared.hpp>

#include <cstdio>
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

// Our temporaries left in a folder, by name.
inline std::string TemporariesIn(std::string const& folder) {
  std::string names;
  std::error_code error;
  for (auto const& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().filename().string().find("___VQ7_TEMPORARY_") == 0)
      names += entry.path().filename().string() + " ";
  return names;
}

// "" when the information file holds 128 records and every assigned one's
// files hold the bytes its length needs (16 frames a block of 2 x bits
// bytes; lofi records are twice as long in 4 bits).
inline std::string CheckCard(std::string const& volume) {
  std::string const info = Support::ReadBytes(CardFolderOf(volume) + "/WVCINFO0.VQD");
  if (info.size() < 128 * 23) return "information file of " + std::to_string(info.size());
  for (int slot = 0; slot < 128; ++slot) {
    unsigned char const* r = reinterpret_cast<unsigned char const*>(&info[slot * 23]);
    uint64_t const length = (uint64_t{r[8]} << 24) | (r[9] << 16) | (r[10] << 8) | r[11];
    uint64_t const needed = (length * (r[12] == 1 ? 2 : 1) + 15) / 16 * (r[12] == 1 ? 8 : 16);
    for (int side = 0; length > 0 && side < (r[13] ? 2 : 1); ++side) {
      char name[32];
      std::snprintf(name, sizeof name, "/SMP%04X%c.VQD", slot, side ? 'R' : 'L');
      if (Support::ReadBytes(CardFolderOf(volume) + name).size() < needed)
        return std::string("missing or short ") + name;
    }
  }
  return "";
}

class CRecordingView : public VQ7::IView {
public:
  void UpdataCurrentVolumeUi() override { mCalls += "1"; }
  void UpdataCurrentBankUi() override { mCalls += "2"; }
  void UpdataPadUi() override { mCalls += "3"; }
  void UpdataImportCommandUi() override { mCalls += "4"; }
  void UpdataExportCommandUi() override { mCalls += "5"; }
  void UpdataDeleteCommandUi() override { mCalls += "6"; }
  std::string mCalls;
};

// Cancels at the first position set once the text starts with mCancelAt.
class CCancellingProgress : public UL::IProgress {
public:
  void Start() override { ++mDepth; }
  void Stop() override { --mDepth; }
  void SetPosition(long) override { mCanceled = mCanceled || mArmed; }
  void SetText(std::string const& text) override { mArmed |= text.find(mCancelAt) == 0; }
  void SetCancelable(bool cancelable) override { mCancelable = cancelable; }
  bool IsCanceled() const override { return mCanceled && mCancelable; }
  std::string mCancelAt;
  int mDepth = 0;
  bool mArmed = false, mCancelable = false, mCanceled = false;
};

// The n-th step that changes files (counted from 1) fails; free space can be
// set.
class CFaultyFileOperations : public VQ7::CPosixFileOperations {
public:
  typedef VQ7::CPosixFileOperations R;
  long mFailAt = 0, mSteps = 0;
  bool mFreeSpaceSet = false;
  uint64_t mFreeBytes = 0;
  bool Step() { return ++mSteps != mFailAt; }

  bool GetFreeSpace(std::string const& path, uint64_t& freeBytes, uint64_t& block) override {
    if (!mFreeSpaceSet) return R::GetFreeSpace(path, freeBytes, block);
    freeBytes = mFreeBytes;
    block = 512;
    return true;
  }
  bool Copy(std::string const& a, std::string const& b, UL::IProgress& p) override {
    return Step() && R::Copy(a, b, p);
  }
  bool Write(std::string const& a, std::string const& b) override {
    return Step() && R::Write(a, b);
  }
  bool Resize(std::string const& a, uint64_t n) override { return Step() && R::Resize(a, n); }
  bool CreateUnique(std::string const& a, std::string const& b, std::string& c) override {
    return Step() && R::CreateUnique(a, b, c);
  }
  bool Sync(std::string const& a) override { return Step() && R::Sync(a); }
  bool SyncFolder(std::string const& a) override { return Step() && R::SyncFolder(a); }
  bool Rename(std::string const& a, std::string const& b) override {
    return Step() && R::Rename(a, b);
  }
  bool Remove(std::string const& a) override { return Step() && R::Remove(a); }
};

// The messages reported, one per line, without the line end.
class CRecordingPrinter : public SL::CGeneralStringBuffer::IPrinter {
public:
  void Print(std::string const& text) override {
    mLines.push_back(text.substr(0, text.find_last_not_of('\n') + 1));
  }
  std::vector<std::string> mLines;
};

// Chosen progress objects; no pictures.
class CTestDomain : public VQ7::CDomain, public UL::IStateBitmapFactory {
public:
  explicit CTestDomain(boost::shared_ptr<SL::IAudioDeviceFacade> facade = {})
      : VQ7::CDomain(facade) {}
  boost::shared_ptr<UL::IProgress> CreateProgressUi() override {
    return mProgress ? mProgress : boost::make_shared<UL::IProgress>();
  }
  boost::shared_ptr<UL::AStateBitmap> Create(std::string const&, long, bool, bool) override {
    return {};
  }
  std::string GetDirectoryPathName() const override { return ""; }
  boost::shared_ptr<UL::IProgress> mProgress;
};

// A started domain with its own preferences, English messages, and an empty
// card folder in a scratch folder.
class CCardBench {
public:
  explicit CCardBench(boost::shared_ptr<SL::IAudioDeviceFacade> facade = {})
      : mConfig("XDG_CONFIG_HOME", mDir / "config"), mDomain(facade), mVolume(mDir / "CARD") {
    mDomain.Initialize(mDomain);
    VQ7::CDomain::sTextCodeTable.SetPage(GT::CTextCodeTable::PageEnglish);
    SL::CLogger::Push(mPrinter);
    MakeEmptyCard(mVolume);
    Controller().Initialize(mView);
    Controller().SetFileOperations(mFiles);
  }
  ~CCardBench() { SL::CLogger::Pop(); }
  std::string Folder() const { return CardFolderOf(mVolume); }
  std::string Info() const { return Folder() + "/WVCINFO0.VQD"; }
  VQ7::CController& Controller() { return mDomain.Controller(); }
  std::vector<std::string>& Messages() { return mPrinter->mLines; }
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
  boost::shared_ptr<CRecordingPrinter> mPrinter = boost::make_shared<CRecordingPrinter>();
  std::string mVolume;
};

}  // namespace VQ7Test
