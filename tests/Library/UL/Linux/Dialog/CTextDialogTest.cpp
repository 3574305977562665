#include "UL/Linux/Dialog/CTextDialog.h"

#include "Support/GuiApplication.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace {

typedef UL::ITextDialog D;

enum EPress { Button1 = 1, Button2, Button3, Escape, CloseBox };

// The buttons of each set, first to third as the alert defines them.
QStringList const nSets[] = {{"OK"}, {"OK", "Cancel"}, {"Yes", "No"}, {"Yes", "Cancel", "No"}};

struct CShown {
  QStringList buttons;
  QString defaultButton;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString text;
};

// Asks, then presses as told once the alert is up; reports what it showed.
D::EAnswer AskAndPress(D::EType type, D::EIcon icon, std::string const& text, EPress press,
                       CShown& shown) {
  Support::WhenModalAppears([&](QWidget* modal) {
    QMessageBox* box = qobject_cast<QMessageBox*>(modal);
    if (!box) return;
    for (QAbstractButton* b : box->buttons()) shown.buttons << b->text().remove('&');
    shown.defaultButton = box->defaultButton() ? box->defaultButton()->text().remove('&') : "";
    shown.icon = box->icon();
    shown.text = box->text();
    if (press == Escape)
      QTest::keyClick(box, Qt::Key_Escape);
    else if (press == CloseBox)
      box->close();
    else
      for (QAbstractButton* b : box->buttons())
        if (b->text().remove('&') == nSets[type][press - 1]) b->click();
  });
  return UL::CTextDialog().Ask(type, icon, text);
}

TEST(TextAlert, ButtonsAnswersDefaultEscapeAndCloseBox) {
  Support::GuiApplication();
  struct {
    D::EType type;
    D::EIcon icon;
    EPress press;
    D::EAnswer answer;
    QMessageBox::Icon shownIcon;
  } const cases[] = {
      {D::Ok, D::Note, Button1, D::AnswerOk, QMessageBox::Information},
      {D::Ok, D::Caution, Escape, D::AnswerOk, QMessageBox::Warning},
      {D::OkCancel, D::Stop, Button1, D::AnswerOk, QMessageBox::Critical},
      {D::OkCancel, D::Note, Escape, D::AnswerCancel, QMessageBox::Information},
      {D::OkCancel, D::Note, CloseBox, D::AnswerCancel, QMessageBox::Information},
      {D::YesNo, D::Note, Button1, D::AnswerYes, QMessageBox::Information},
      {D::YesNo, D::Note, Button2, D::AnswerNo, QMessageBox::Information},
      {D::YesNo, D::Note, Escape, D::AnswerNo, QMessageBox::Information},
      {D::YesCancelNo, D::Stop, Button1, D::AnswerYes, QMessageBox::Critical},
      {D::YesCancelNo, D::Stop, Button2, D::AnswerCancel, QMessageBox::Critical},
      {D::YesCancelNo, D::Stop, Button3, D::AnswerNo, QMessageBox::Critical},
      {D::YesCancelNo, D::Stop, CloseBox, D::AnswerCancel, QMessageBox::Critical},
  };
  for (auto const& c : cases) {
    CShown shown;
    EXPECT_EQ(c.answer, AskAndPress(c.type, c.icon, "Delete?", c.press, shown))
        << c.type << " press " << c.press;
    QStringList expected = nSets[c.type];
    QStringList got = shown.buttons;
    std::sort(expected.begin(), expected.end());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(expected, got);
    EXPECT_EQ(nSets[c.type][0], shown.defaultButton);
    EXPECT_EQ(c.shownIcon, shown.icon);
  }
}

TEST(TextAlert, LongJapaneseTextIsShownWhole) {
  Support::GuiApplication();
  std::string text;
  for (int i = 0; i < 120; ++i) text += "カードの空き容量が足りません。";
  CShown shown;
  AskAndPress(D::Ok, D::Caution, text, Button1, shown);
  EXPECT_EQ(QString::fromUtf8(text.c_str()), shown.text);
}

TEST(TextAlert, AnAlertThatCannotBeShownAnswersItsSecondButton) {
  Support::GuiApplication();
  D::EAnswer answers[4];
  // Widgets cannot be made off the main thread: the alert fails there.
  std::thread([&] {
    UL::CTextDialog dialog;
    for (int type = D::Ok; type <= D::YesCancelNo; ++type)
      answers[type] = dialog.Ask(static_cast<D::EType>(type), D::Note, std::string("?"));
  }).join();
  EXPECT_EQ(D::AnswerCancel, answers[D::Ok]);
  EXPECT_EQ(D::AnswerCancel, answers[D::OkCancel]);
  EXPECT_EQ(D::AnswerNo, answers[D::YesNo]);
  EXPECT_EQ(D::AnswerCancel, answers[D::YesCancelNo]);
}

}  // namespace
