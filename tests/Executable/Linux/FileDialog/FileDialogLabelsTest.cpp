// The custom areas of the import and export dialogs in both languages of the
// resource file: the label texts, and room for every label and for the
// longest value at the size of the area's text traits.

#include "Executable/Linux/FileDialog/CFileChooser.h"
#include "Executable/Linux/FileDialog/CFileDesignator.h"
#include "Executable/Linux/Volume/CVolumeLister.h"
#include "Platform/Framework/UResources.h"
#include "Platform/Framework/UTextTraits.h"
#include "Support/CardFixture.h"
#include "Support/GuiApplication.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>

#include <limits>

namespace {

struct CLanguage {
  bool japanese;
  std::vector<std::string> import, exported;
};

CLanguage const kLanguages[] = {
    {false,
     {"Format:", "Bits Per Sample:", "Sampling Frequency (Hz):", "Channel Count:",
      "Convert Size (Bytes):", "Drive Free Space (Bytes):"},
     {"Format:", "Convert Size (Bytes):", "Drive Free Space (Bytes):"}},
    {true,
     {u8"フォーマット:", u8"ビット数:", u8"サンプリング周波数 (Hz):", u8"チャンネル数:",
      u8"変換後のサイズ (バイト):", u8"ドライブの空き容量 (バイト):"},
     {u8"フォーマット:", u8"変換後のサイズ (バイト):", u8"ドライブの空き容量 (バイト):"}},
};

// Each label shows its text whole; each value has room for the largest byte
// count. Returns the labels' texts.
std::vector<std::string> CheckRoom(QWidget* modal) {
  std::vector<std::string> labels;
  LNavCustomArea* area = dynamic_cast<LNavCustomArea*>(modal->findChild<QWidget*>("customArea"));
  EXPECT_TRUE(area);
  if (!area) return labels;
  QString const widest =
      QString::fromStdString(CFileDialogBase::GetByteSizeStr(std::numeric_limits<uint64_t>::max()));
  QFontMetrics const valueFont(UTextTraits::GetFont(CFileDialogBase::nTextTraits, area->font()));
  for (int16_t id = 1; id <= area->CountItems(); ++id) {
    SCOPED_TRACE(id);
    if (QLabel* label = qobject_cast<QLabel*>(area->GetItemControl(id))) {
      labels.push_back(label->text().toStdString());
      EXPECT_EQ(11, label->font().pointSize());
      EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()),
                label->contentsRect().width())
          << label->text().toStdString();
      EXPECT_LE(label->contentsRect().right(), area->width());
    } else if (area->GetItemType(id) == 0) {
      EXPECT_LE(valueFont.horizontalAdvance(widest), area->GetItemRect(id).width() - 10);
      EXPECT_LE(valueFont.ascent() + valueFont.descent(), area->GetItemRect(id).height());
    }
  }
  return labels;
}

TEST(FileDialogLabels, EveryLabelAndValueShowsWholeInBothLanguages) {
  Support::GuiApplication();
  VQ7Test::CCardBench bench;
  VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>(
      new VQ7::CVolumeLister([&] { return "40 1 0:1 / " + bench.mVolume + " rw - tmpfs x rw\n"; },
                             [](std::string const&) { return 1u << 30; }, {bench.mDir.Path()})));
  for (CLanguage const& language : kLanguages) {
    SCOPED_TRACE(language.japanese ? "Japanese" : "English");
    ASSERT_EQ("", UResources::Load(Support::AppDirectory() + "/VQ7Converter.json",
                                   language.japanese, {}));
    CFileChooser chooser(bench.Controller(), bench.mDomain.Player(), 40);
    CFileDesignator designator(&bench.mDomain);
    std::vector<std::string> importTexts, exportTexts;
    for (short id = 1; id <= 6; ++id) importTexts.push_back(chooser.GetStaticText(id));
    for (short id = 1; id <= 3; ++id) exportTexts.push_back(designator.GetStaticText(id));
    EXPECT_EQ(language.import, importTexts);
    EXPECT_EQ(language.exported, exportTexts);
    for (short id : {0, 13, 14}) EXPECT_EQ("", chooser.GetStaticText(id));
    for (short id : {0, 6, 7}) EXPECT_EQ("", designator.GetStaticText(id));

    std::vector<std::string> shown;
    Support::WhenModalAppears([&](QWidget* modal) {
      shown = CheckRoom(modal);
      static_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(chooser.AskOpenFile(LFileTypeList()));
    EXPECT_EQ(language.import, shown);
    Support::WhenModalAppears([&](QWidget* modal) {
      shown = CheckRoom(modal);
      static_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(designator.AskDesignateFile());
    EXPECT_EQ(language.exported, shown);
  }
  VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>());
  Support::LoadAppResources();
}

}  // namespace
