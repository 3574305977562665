#include "UL/Linux/Dialog/CTextDialog.h"

#include "GT/Com/Base/DebugTrace.h"
#include "Platform/Framework/UModalState.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <vector>

namespace UL {

ITextDialog::EAnswer CTextDialog::AnswerOf(EType type, int item) {
  switch (type) {
    case YesNo:
      return item == 1 ? AnswerYes : item == 2 ? AnswerNo : AnswerCancel;
    case YesCancelNo:
      return item == 1 ? AnswerYes : item == 3 ? AnswerNo : AnswerCancel;
    default:
      return item == 1 ? AnswerOk : AnswerCancel;
  }
}

ITextDialog::EAnswer CTextDialog::Ask(EType type, EIcon icon, std::string const& text) {
  QMessageBox::Icon boxIcon;
  switch (icon) {
    case Note:
      boxIcon = QMessageBox::Information;
      break;
    case Caution:
      boxIcon = QMessageBox::Warning;
      break;
    case Stop:
      boxIcon = QMessageBox::Critical;
      break;
    default:
      DebugTrace_("false\n");
      return AnswerOf(type, 2);
  }
  if (type < Ok || type > YesCancelNo) {
    DebugTrace_("false\n");
    return AnswerOf(type, 2);
  }
  QApplication* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!application || QThread::currentThread() != application->thread()) return AnswerOf(type, 2);

  QMessageBox box(boxIcon, QApplication::applicationDisplayName(),
                  QString::fromUtf8(text.data(), static_cast<int>(text.size())),
                  QMessageBox::NoButton);
  box.setTextFormat(Qt::PlainText);
  std::vector<QAbstractButton*> items;
  switch (type) {
    case Ok:
      items = {box.addButton(QMessageBox::Ok)};
      break;
    case OkCancel:
      items = {box.addButton(QMessageBox::Ok), box.addButton(QMessageBox::Cancel)};
      break;
    case YesNo:
      items = {box.addButton("Yes", QMessageBox::YesRole),
               box.addButton("No", QMessageBox::NoRole)};
      break;
    case YesCancelNo:
      items = {box.addButton("Yes", QMessageBox::YesRole),
               box.addButton("Cancel", QMessageBox::RejectRole),
               box.addButton("No", QMessageBox::NoRole)};
      break;
  }
  box.setDefaultButton(static_cast<QPushButton*>(items[0]));
  box.setEscapeButton(items.size() > 1 ? items[1] : items[0]);
  UModalState::Run(box);
  QAbstractButton* const clicked = box.clickedButton();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == clicked) return AnswerOf(type, static_cast<int>(i) + 1);
  return AnswerOf(type, 2);
}

}  // namespace UL
