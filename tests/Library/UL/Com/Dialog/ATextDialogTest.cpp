#include "UL/Com/Dialog/ATextDialog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CRecordingDialog : public UL::ATextDialog {
public:
  using UL::ATextDialog::Ask;
  EAnswer Ask(EType type, EIcon icon, std::string const& text) override {
    ++mCalls;
    mType = type;
    mIcon = icon;
    mText = text;
    return AnswerNo;
  }
  int mCalls = 0;
  EType mType = Ok;
  EIcon mIcon = Note;
  std::string mText;
};

TEST(TextDialog, FormattedAskPassesTheWholeTextOnce) {
  CRecordingDialog dialog;
  std::string const longName(2000, 'x');
  EXPECT_EQ(UL::ITextDialog::AnswerNo,
            dialog.Ask(UL::ITextDialog::YesCancelNo, UL::ITextDialog::Stop, "%s %d/%d",
                       longName.c_str(), 3, 16));
  EXPECT_EQ(1, dialog.mCalls);
  EXPECT_EQ(UL::ITextDialog::YesCancelNo, dialog.mType);
  EXPECT_EQ(UL::ITextDialog::Stop, dialog.mIcon);
  EXPECT_EQ(longName + " 3/16", dialog.mText);
}

}  // namespace
