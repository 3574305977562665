#include "Executable/Com/Controller/CDomain.h"

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CModel.h"
#include "Executable/Com/Controller/CStringResources.h"
#include "SL/Com/Base/CLogger.h"

#include <ostream>

namespace VQ7 {

GT::CTextCodeTable CDomain::sTextCodeTable;

namespace {

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

CDomain::CDomain() : mModel(new CModel), mController() {
  mController.reset(new CController(*this));
}

CDomain::~CDomain() {}

bool CDomain::ClassInvariant() const { return mModel && mController; }

boost::shared_ptr<UL::IProgress> CDomain::CreateProgressUi() {
  return boost::shared_ptr<UL::IProgress>(new UL::IProgress);
}

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
