#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Controller/CStringResources.h"
#include "SL/Com/Base/CLogger.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <iconv.h>

#include <string>
#include <vector>

namespace {

using VQ7::CDomain;
using VQ7::CStringResources;

class CRecordingPrinter : public SL::CGeneralStringBuffer::IPrinter {
public:
  void Print(std::string const& text) override { mLines.push_back(text); }
  std::vector<std::string> mLines;
};

char const* const nEnglish[] = {
    "A sample already exists at the specified pad. OK to overwrite it?",
    "OK to delete?",
    "Importing...",
    "Exporting...",
    "Converting...",
    "Copying...",
    "Finalizing...",
    "The selected drive is not for the VQ-730.",
    "Failed to load the wave file. The converter supports wave files that meet the following "
    "conditions.\n- Format is WAV or AIFF\n- Bit depth is 16 bits per sample\n- 44.1 kHz sampling "
    "frequency\n- One or two channels\n- Length greater than 70 ms",
    "Playback failed.",
    "The import failed.",
    "The export failed.",
    "The deletion failed.",
    "Insufficient space on the save-destination memory card.",
    "Insufficient space on the save-destination disk.",
};

char const* const nJapanese[] = {
    "指定されたパッドにはサンプルが存在します。上書きして良いですか？",
    "削除して良いですか？",
    "インポート中です。",
    "エクスポート中です。",
    "変換中です。",
    "コピー中です。",
    "終了中です。",
    "VQ-730 メモリー・カード以外のドライブを選択しました。",
    "ウェーブ・ファイルの読み込みに失敗しました。\nコンバーターが対応するのは以下の形式のウェーブ・"
    "ファイルです。\n"
    "- フォーマットが WAV 又は AIFF\n- 1 サンプルあたりのビット数が 16 ビット\n- "
    "サンプリング周波数が 44.1kHz\n"
    "- チャンネル数が 1 又は 2\n- 長さが 70ms 以上",
    "再生に失敗しました。",
    "インポートに失敗しました。",
    "エクスポートに失敗しました。",
    "デリートに失敗しました。",
    "保存先のメモリー・カードの容量が足りません。",
    "保存先のディスクの容量が足りません。",
};

// The language item the resource file would give.
void UseLanguageItem(std::string const& item) {
  CStringResources::SetLookup(
      [item](int list, int index) { return list == 1001 && index == 1 ? item : std::string(); });
}

// Converts UTF-8 to the device's code page; false when a character has no
// place in it.
bool FitsShiftJis(std::string const& text) {
  iconv_t const cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return true;  // no converter here: nothing to check against
  std::vector<char> in(text.begin(), text.end());
  std::vector<char> out(text.size() * 2 + 4);
  char* inp = in.data();
  char* outp = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  size_t const result = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  return result != static_cast<size_t>(-1) && inLeft == 0;
}

class DomainMessages : public ::testing::Test {
protected:
  void SetUp() override {
    SL::CLogger::Clear();
    mPrinter = boost::make_shared<CRecordingPrinter>();
  }
  void TearDown() override {
    SL::CLogger::Clear();
    CStringResources::SetLookup(CStringResources::CLookup());
    CDomain::sTextCodeTable.Initialize();
    CDomain::sTextCodeTable.SetPage(GT::CTextCodeTable::PageEnglish);
  }
  std::vector<std::string> ReportAll() {
    SL::CLogger::Instance();  // the discarding logger stays at the bottom
    SL::CLogger::Push(mPrinter);
    for (int code = 0; code < VQ7::nCodeCount; ++code)
      CDomain::HandleError(static_cast<VQ7::ECode>(code));
    return mPrinter->mLines;
  }

  boost::shared_ptr<CRecordingPrinter> mPrinter;
};

TEST_F(DomainMessages, EnglishItemSelectsTheEnglishPage) {
  UseLanguageItem("English");
  EXPECT_EQ(GT::CTextCodeTable::PageEnglish, CDomain::GetPage());
  CDomain::InitializeTextCodeTable();
  EXPECT_TRUE(CDomain::sTextCodeTable.ArePagesEquivalent());
  std::vector<std::string> const lines = ReportAll();
  ASSERT_EQ(15u, lines.size());
  for (int code = 0; code < 15; ++code)
    EXPECT_EQ(std::string(nEnglish[code]) + "\n", lines[code]) << "code " << code;
  EXPECT_EQ("Insufficient space on the save-destination memory card.\n", lines[VQ7::CardFull]);
}

TEST_F(DomainMessages, AnyOtherItemSelectsTheJapanesePage) {
  for (std::string const item : {"日本語", "english", "English ", ""}) {
    UseLanguageItem(item);
    EXPECT_EQ(GT::CTextCodeTable::PageJapanese, CDomain::GetPage()) << item;
  }
  CStringResources::SetLookup(CStringResources::CLookup());
  EXPECT_EQ(GT::CTextCodeTable::PageJapanese, CDomain::GetPage());

  UseLanguageItem("Japanese");
  CDomain::InitializeTextCodeTable();
  std::vector<std::string> const lines = ReportAll();
  ASSERT_EQ(15u, lines.size());
  for (int code = 0; code < 15; ++code) {
    EXPECT_EQ(std::string(nJapanese[code]) + "\n", lines[code]) << "code " << code;
    EXPECT_TRUE(FitsShiftJis(nJapanese[code])) << "code " << code;
  }
  // The other page is still there.
  EXPECT_EQ(nEnglish[VQ7::DiskFull],
            CDomain::sTextCodeTable.ToText(GT::CTextCodeTable::PageEnglish, VQ7::DiskFull));
}

}  // namespace
