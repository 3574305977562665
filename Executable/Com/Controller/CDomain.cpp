#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/PadMatrix/APad.h"
#include "Executable/Com/PadMatrix/CPadMatrix.h"

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Card/CModel.h"
#include "Executable/Com/Playback/CPlayer.h"
#include "Executable/Com/Controller/CStringResources.h"
#include "Executable/Com/Controller/PlatformObjects.h"
#include "GT/Com/Text/StringTools.h"
#include "SL/Com/Base/CLogger.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <thread>

#include <ostream>

namespace VQ7 {

GT::CTextCodeTable CDomain::sTextCodeTable;

namespace {

double const nDefaultDeviceBufferTime = 0.06;

// A stored time in seconds; missing, unreadable or not positive gives the
// default, and no buffer is made longer than a few seconds.
double ReadTime(GT::IProfile const& profile, char const* key, double defaultTime) {
  double const time = GT::ToDouble(profile.Read(key, std::string("0")));
  if (!std::isfinite(time) || time <= 0.0) return defaultTime;
  return std::min(time, CPlayer::nLongestBufferTime);
}

struct CMessage {
  ECode mCode;
  char const* mEnglish;
  char const* mJapanese;
};

CMessage const nMessages[] = {
    {ConfirmOverwrite, "A sample already exists at the specified pad. OK to overwrite it?",
     "指定されたパッドにはサンプルが存在します。上書きして良いですか？"},
    {ConfirmDelete, "OK to delete?", "削除して良いですか？"},
    {Importing, "Importing...", "インポート中です。"},
    {Exporting, "Exporting...", "エクスポート中です。"},
    {Converting, "Converting...", "変換中です。"},
    {Copying, "Copying...", "コピー中です。"},
    {Finalizing, "Finalizing...", "終了中です。"},
    {InvalidDrive, "The selected drive is not for the VQ-730.",
     "VQ-730 メモリー・カード以外のドライブを選択しました。"},
    {WaveLoadFailed,
     "Failed to load the wave file. The converter supports wave files that meet the following "
     "conditions.\n"
     "- Format is WAV or AIFF\n"
     "- Bit depth is 16 bits per sample\n"
     "- 44.1 kHz sampling frequency\n"
     "- One or two channels\n"
     "- Length greater than 70 ms",
     "ウェーブ・ファイルの読み込みに失敗しました。\n"
     "コンバーターが対応するのは以下の形式のウェーブ・ファイルです。\n"
     "- フォーマットが WAV 又は AIFF\n"
     "- 1 サンプルあたりのビット数が 16 ビット\n"
     "- サンプリング周波数が 44.1kHz\n"
     "- チャンネル数が 1 又は 2\n"
     "- 長さが 70ms 以上"},
    {PlaybackFailed, "Playback failed.", "再生に失敗しました。"},
    {ImportFailed, "The import failed.", "インポートに失敗しました。"},
    {ExportFailed, "The export failed.", "エクスポートに失敗しました。"},
    {DeleteFailed, "The deletion failed.", "デリートに失敗しました。"},
    {CardFull, "Insufficient space on the save-destination memory card.",
     "保存先のメモリー・カードの容量が足りません。"},
    {DiskFull, "Insufficient space on the save-destination disk.",
     "保存先のディスクの容量が足りません。"},
};

static_assert(sizeof nMessages / sizeof nMessages[0] == nCodeCount, "one text pair per code");

}  // namespace

char const* const CDomain::sProfilePathPreferenceVolumeName = "Preference/VolumeName";
char const* const CDomain::sProfilePathPreferenceBankId = "Preference/BankId";
char const* const CDomain::sProfilePathPreferenceLoadsBufferTime = "Preference/LoadsBufferTime";
char const* const CDomain::sProfilePathPreferenceRingBufferTime = "Preference/RingBufferTime";
char const* const CDomain::sProfilePathPreferenceDeviceBufferTime = "Preference/DeviceBufferTime";

// Shows each logged line in an alert, on the thread that installed it; a
// dialog from any other thread would run a modal loop off the user
// interface's thread.
class CDomain::CPrinter : public SL::CGeneralStringBuffer::IPrinter {
public:
  explicit CPrinter(CDomain& domain) : mDomain(domain), mThread(std::this_thread::get_id()) {}
  void Print(std::string const& text) override {
    if (std::this_thread::get_id() != mThread) {
      std::cerr << text << std::flush;
      return;
    }
    std::string line = text;
    while (!line.empty() && line.back() == '\n') line.pop_back();
    mDomain.CreateTextDialog()->Ask(UL::ITextDialog::Ok, UL::ITextDialog::Caution, line);
  }

private:
  CDomain& mDomain;
  std::thread::id mThread;
};

CDomain::CDomain() : CDomain(CreatePlatformAudioDeviceFacade()) {}

CDomain::CDomain(boost::shared_ptr<SL::IAudioDeviceFacade> facade)
    : mModel(), mController(), mPlayer(new CPlayer(facade)), mPrinter() {}

CDomain::~CDomain() {
  if (mPrinter) SL::CLogger::Pop();
}

bool CDomain::ClassInvariant() const { return mModel && mController; }

void CDomain::Initialize(UL::IStateBitmapFactory& bitmaps) {
  InitializeTextCodeTable();
  CPadMatrix::SetupBitmap(bitmaps);
  APad::SetupBitmap(bitmaps);
  mModel.reset(new CModel);
  mController.reset(new CController(*this));

  boost::shared_ptr<GT::IProfile> const profile = CreateProfile();
  mModel->mVolume = profile->Read(sProfilePathPreferenceVolumeName, std::string());
  long const bank = profile->Read(sProfilePathPreferenceBankId, 0L);
  mModel->mBank = CModel::ClampBank(bank);
  double ringTime = CPlayer::nDefaultRingBufferTime, deviceTime = nDefaultDeviceBufferTime;
  if (profile->Read(sProfilePathPreferenceLoadsBufferTime, 0L) >= 1) {
    ringTime = ReadTime(*profile, sProfilePathPreferenceRingBufferTime, ringTime);
    deviceTime = ReadTime(*profile, sProfilePathPreferenceDeviceBufferTime, deviceTime);
  }
  mPlayer->SetRingBufferTime(ringTime);
  mPlayer->SetDeviceBufferTime(deviceTime);
}

void CDomain::Finalize() {
  mPlayer->Stop();
  if (mModel) {
    boost::shared_ptr<GT::IProfile> const profile = CreateProfile();
    profile->Write(sProfilePathPreferenceVolumeName, mModel->mVolume);
    profile->Write(sProfilePathPreferenceBankId, static_cast<long>(mModel->mBank));
    profile->Write(sProfilePathPreferenceRingBufferTime,
                   GT::ToString(mPlayer->GetRingBufferTime(), GT::StringFormatDecimal, 15,
                                GT::TruncateZeroNone));
    profile->Write(sProfilePathPreferenceDeviceBufferTime,
                   GT::ToString(mPlayer->GetDeviceBufferTime(), GT::StringFormatDecimal, 15,
                                GT::TruncateZeroNone));
  }
  if (mPrinter) {
    SL::CLogger::Pop();
    mPrinter.reset();
  }
  CPadMatrix::TeardownBitmap();
  APad::TeardownBitmap();
}

void CDomain::SetupLogger() {
  if (mPrinter) return;
  mPrinter.reset(new CPrinter(*this));
  SL::CLogger::Push(mPrinter);
}

boost::shared_ptr<UL::ITextDialog> CDomain::CreateTextDialog() {
  return CreatePlatformTextDialog();
}

boost::shared_ptr<UL::IProgress> CDomain::CreateProgressUi() { return CreatePlatformProgress(); }

boost::shared_ptr<GT::IProfile> CDomain::CreateProfile() { return CreatePlatformProfile(); }

void CDomain::InitializeTextCodeTable() {
  sTextCodeTable.Initialize();
  for (CMessage const& message : nMessages) {
    sTextCodeTable.Add(GT::CTextCodeTable::PageEnglish, message.mCode, message.mEnglish);
    sTextCodeTable.Add(GT::CTextCodeTable::PageJapanese, message.mCode, message.mJapanese);
  }
  sTextCodeTable.SetPage(GetPage());
}

GT::CTextCodeTable::EPage CDomain::GetPage() {
  return CStringResources::GetIndString(nLanguageStringList, 1) == "English"
             ? GT::CTextCodeTable::PageEnglish
             : GT::CTextCodeTable::PageJapanese;
}

void CDomain::HandleError(ECode code) {
  SL::CLogger::Instance() << sTextCodeTable.ToText(code) << std::endl;
}

}  // namespace VQ7
