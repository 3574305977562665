#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Controller/CStringResources.h"
#include "SL/Com/Base/CLogger.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <iconv.h>

#include <fstream>
#include <iterator>

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

// Every message, as the user reads it, in code order.
struct SMessage {
  VQ7::ECode code;
  char const* english;
  char const* japanese;
};
SMessage const nMessages[] = {
    {VQ7::ConfirmOverwrite, "A sample already exists at the specified pad. OK to overwrite it?",
     "指定されたパッドにはサンプルが存在します。上書きして良いですか？"},
    {VQ7::ConfirmDelete, "OK to delete?", "削除して良いですか？"},
    {VQ7::Importing, "Importing...", "インポート中です。"},
    {VQ7::Exporting, "Exporting...", "エクスポート中です。"},
    {VQ7::Converting, "Converting...", "変換中です。"},
    {VQ7::Copying, "Copying...", "コピー中です。"},
    {VQ7::Finalizing, "Finalizing...", "終了中です。"},
    {VQ7::InvalidDrive, "The selected drive is not for the VQ-730.",
     "VQ-730 メモリー・カード以外のドライブを選択しました。"},
    {VQ7::WaveLoadFailed,
     "Failed to load the wave file. The converter supports wave files that meet the following "
     "conditions.\n- Format is WAV or AIFF\n- Bit depth is 16 bits per sample\n- 44.1 kHz "
     "sampling frequency\n- One or two channels\n- Length greater than 70 ms",
     "ウェーブ・ファイルの読み込みに失敗しました。\nコンバーターが対応するのは以下の形式のウェ"
     "ーブ・ファイルです。\n- フォーマットが WAV 又は AIFF\n- 1 サンプルあたりのビット数が 16 "
     "ビット\n- サンプリング周波数が 44.1kHz\n- チャンネル数が 1 又は 2\n- 長さが 70ms 以上"},
    {VQ7::PlaybackFailed, "Playback failed.", "再生に失敗しました。"},
    {VQ7::ImportFailed, "The import failed.", "インポートに失敗しました。"},
    {VQ7::ExportFailed, "The export failed.", "エクスポートに失敗しました。"},
    {VQ7::DeleteFailed, "The deletion failed.", "デリートに失敗しました。"},
    {VQ7::CardFull, "Insufficient space on the save-destination memory card.",
     "保存先のメモリー・カードの容量が足りません。"},
    {VQ7::DiskFull, "Insufficient space on the save-destination disk.",
     "保存先のディスクの容量が足りません。"},
};
static_assert(std::size(nMessages) == VQ7::nCodeCount, "one text pair per code");

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
  ASSERT_EQ(static_cast<size_t>(VQ7::nCodeCount), lines.size());
  for (SMessage const& m : nMessages) {
    EXPECT_EQ(std::string(m.english) + "\n", lines[m.code]) << m.code;
    EXPECT_EQ(m.english, CDomain::sTextCodeTable.ToText(m.code)) << m.code;
  }
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
  ASSERT_EQ(static_cast<size_t>(VQ7::nCodeCount), lines.size());
  for (std::string const& line : lines) {
    EXPECT_GT(line.size(), 1u);
    EXPECT_TRUE(FitsShiftJis(line)) << line;
  }
  for (SMessage const& m : nMessages) {
    EXPECT_EQ(std::string(m.japanese) + "\n", lines[m.code]) << m.code;
    EXPECT_EQ(m.japanese, CDomain::sTextCodeTable.ToText(m.code)) << m.code;
  }
}

// An unplugged card is chosen again and reported with the message of a
// volume that is not a card: each Help page quotes it in its own language.
TEST(DomainHelp, EachHelpPageQuotesTheMessageAnUnpluggedCardBrings) {
  SMessage const& invalid = nMessages[VQ7::InvalidDrive];
  struct {
    char const* page;
    char const* message;
  } const pages[] = {{"VQ7Converter Help.html", invalid.english},
                     {"VQ7Converter Help.ja.html", invalid.japanese}};
  for (auto const& p : pages) {
    std::ifstream in(std::string(VQ7_SOURCE_DIR) + "/Resources/Help/" + p.page);
    std::string const text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty()) << p.page;
    EXPECT_NE(std::string::npos, text.find(p.message)) << p.page;
  }
}

}  // namespace
