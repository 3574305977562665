#pragma once

// A card folder, a recording view, a progress that cancels at a chosen point,
// file operations that fail at a chosen step, and a check of what a card
// holds, for the controller's tests.

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Controller/IFileOperations.h"
#include "Executable/Com/Controller/IView.h"
#include "SL/Com/Base/CLogger.h"
#include "Support/PrivateTempDir.h"

#include <boost/make_shared.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace VQ7Test {

std::string CardFolderOf(std::string const& volume);
// A card folder under volume whose information file holds 128 empty records.
void MakeEmptyCard(std::string const& volume);
// Whatever a step of sox writes (one command line); false when sox fails.
bool Sox(std::string const& arguments);
// Names of our temporaries left in a folder.
std::vector<std::string> TemporariesIn(std::string const& folder);

// "" when the card is whole: its information file reads as 128 valid
// records and every assigned record's files hold the bytes its length needs.
std::string CheckCard(std::string const& volume);

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

// Cancels once the text starts with cancelAtText and `positions` further
// positions have been set.
class CCancellingProgress : public UL::IProgress {
public:
  CCancellingProgress(std::string const& cancelAtText, long positions)
      : mCancelAt(cancelAtText), mPositions(positions) {}
  void Start() override { ++mDepth; }
  void Stop() override { --mDepth; }
  void SetPosition(long) override {
    if (mArmed && mPositions-- <= 0) mCanceled = true;
  }
  void SetText(std::string const& text) override {
    mArmed = mArmed || (!mCancelAt.empty() && text.compare(0, mCancelAt.size(), mCancelAt) == 0);
  }
  void SetCancelable(bool cancelable) override { mCancelable = cancelable; }
  bool IsCanceled() const override { return mCanceled && mCancelable; }
  int mDepth = 0;

private:
  std::string mCancelAt;
  long mPositions;
  bool mArmed = false;
  bool mCancelable = false;
  bool mCanceled = false;
};

// Passes every call to the real file system; the n-th step that changes
// files (counted from 1) fails instead. Free space can be set.
class CFaultyFileOperations : public VQ7::IFileOperations {
public:
  IFileOperations& mReal = VQ7::GetFileOperations();
  long mFailAt = 0;  // 0: none fails
  long mSteps = 0;
  bool mFreeSpaceSet = false;
  uint64_t mFreeBytes = 0;
  uint64_t mBlockBytes = 512;

  bool IsFile(std::string const& path) override { return mReal.IsFile(path); }
  bool GetFileSize(std::string const& path, uint64_t& size) override {
    return mReal.GetFileSize(path, size);
  }
  std::vector<std::string> ListFolder(std::string const& folder) override {
    return mReal.ListFolder(folder);
  }
  bool GetFreeSpace(std::string const& path, uint64_t& freeBytes, uint64_t& blockBytes) override;
  bool GetVolumeId(std::string const& path, int64_t& id) override {
    return mReal.GetVolumeId(path, id);
  }
  bool Copy(std::string const& source, std::string const& target,
            UL::IProgress& progress) override {
    return Step() && mReal.Copy(source, target, progress);
  }
  bool Write(std::string const& path, std::string const& bytes) override {
    return Step() && mReal.Write(path, bytes);
  }
  bool Resize(std::string const& path, uint64_t size) override {
    return Step() && mReal.Resize(path, size);
  }
  bool CreateUnique(std::string const& folder, std::string const& prefix,
                    std::string& path) override {
    return Step() && mReal.CreateUnique(folder, prefix, path);
  }
  bool Sync(std::string const& path) override { return Step() && mReal.Sync(path); }
  bool SyncFolder(std::string const& folder) override { return Step() && mReal.SyncFolder(folder); }
  bool Rename(std::string const& from, std::string const& to) override {
    return Step() && mReal.Rename(from, to);
  }
  bool Remove(std::string const& path) override { return Step() && mReal.Remove(path); }

private:
  bool Step() { return ++mSteps != mFailAt; }
};

class CRecordingPrinter : public SL::CGeneralStringBuffer::IPrinter {
public:
  void Print(std::string const& text) override {
    mLines.push_back(text.substr(0, text.find_last_not_of('\n') + 1));
  }
  std::vector<std::string> mLines;
};

// A domain whose progress objects the test chooses.
class CTestDomain : public VQ7::CDomain {
public:
  explicit CTestDomain(boost::shared_ptr<SL::IAudioDeviceFacade> facade =
                           boost::shared_ptr<SL::IAudioDeviceFacade>())
      : VQ7::CDomain(facade) {}
  boost::shared_ptr<UL::IProgress> CreateProgressUi() override {
    return mProgress ? mProgress : boost::make_shared<UL::IProgress>();
  }
  boost::shared_ptr<UL::IProgress> mProgress;
};

class CNoBitmaps : public UL::IStateBitmapFactory {
public:
  boost::shared_ptr<UL::AStateBitmap> Create(std::string const&, long, bool, bool) override {
    return boost::shared_ptr<UL::AStateBitmap>();
  }
  std::string GetDirectoryPathName() const override { return std::string(); }
};

// One card folder opened by a controller, with the view, the printer of
// the messages and the faulty file operations in place.
class CCardBench {
public:
  explicit CCardBench(boost::shared_ptr<SL::IAudioDeviceFacade> facade =
                          boost::shared_ptr<SL::IAudioDeviceFacade>());
  ~CCardBench();
  std::string Volume() const { return mDir.Path() + "/CARD"; }
  std::string Folder() const { return CardFolderOf(Volume()); }
  std::string Info() const { return Folder() + "/WVCINFO0.VQD"; }
  VQ7::CController& Controller() { return mDomain.Controller(); }
  // The English texts the controller reported, one per failure.
  std::vector<std::string>& Messages() { return mPrinter->mLines; }
  // A sox-made file in the scratch folder.
  std::string MakeWave(std::string const& name, std::string const& soxSource);
  bool Open(long bank = 0, long pad = 0);

  Support::CPrivateTempDir mDir;
  Support::CScopedEnv mConfig;  // preferences of the bench's own
  CTestDomain mDomain;
  CRecordingView mView;
  CFaultyFileOperations mFiles;
  boost::shared_ptr<CRecordingPrinter> mPrinter;
};

}  // namespace VQ7Test
