#include "Platform/Framework/LPopupButton.h"

#include "Platform/Framework/LException.h"
#include "Platform/Framework/LStream.h"
#include "Platform/Framework/UResources.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

std::unique_ptr<LMenu> LMenu::GetMenu(ResIDT id) {
  QStringList items;
  if (!UResources::GetMenuItems(id, items)) return nullptr;
  std::unique_ptr<LMenu> menu(new LMenu);
  for (QString const& item : items) menu->AppendItem(item.toStdString());
  return menu;
}

std::string LMenu::GetItemText(int16_t index) const {
  if (index < 1 || index > CountItems()) return std::string();
  return mItems[static_cast<std::size_t>(index - 1)];
}

namespace {

// Looks like a combo box; every way of opening it goes through the control.
class CPopupWidget : public QComboBox {
public:
  explicit CPopupWidget(LPopupButton* owner) : mOwner(owner) {}
  void Forget() { mOwner = nullptr; }
  void showPopup() override {
    if (mOwner) CatchAndReport("popup", [this] { mOwner->Click(); });
  }

protected:
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Space:
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Up:
      case Qt::Key_Down:
        showPopup();
        return;
      default:
        event->ignore();
    }
  }
  void wheelEvent(QWheelEvent* event) override { event->ignore(); }

private:
  LPopupButton* mOwner;
};

}  // namespace

LPopupButton::LPopupButton(LStream* stream) : LControl(stream, new CPopupWidget(this)) {
  if (stream && stream->Object().contains("menu")) {
    std::unique_ptr<LMenu> menu = LMenu::GetMenu(stream->Int("menu", 0));
    if (menu) SetMenu(std::move(menu));
  }
  ValueChanged();
}

LPopupButton::~LPopupButton() { static_cast<CPopupWidget*>(GetWidget())->Forget(); }

void LPopupButton::SetMenu(std::unique_ptr<LMenu> menu) {
  mMenu = std::move(menu);
  int32_t const count = mMenu ? mMenu->CountItems() : 0;
  CPopupWidget* combo = static_cast<CPopupWidget*>(GetWidget());
  combo->clear();
  if (mMenu)
    for (std::string const& item : mMenu->GetItems()) combo->addItem(QString::fromStdString(item));
  LControl::SetMinValue(0);
  bool const broadcasting = IsBroadcasting();
  StopBroadcasting();
  LControl::SetMaxValue(count);
  if (broadcasting) StartBroadcasting();
  ValueChanged();
}

bool LPopupButton::TrackHotSpot(int16_t, QPoint const&, int16_t) {
  if (!mMenu || mMenu->CountItems() == 0) return false;
  QPointer<QWidget> widget = GetWidget();
  QMenu menu;
  std::vector<QAction*> actions;
  for (std::string const& item : mMenu->GetItems()) {
    QAction* action = menu.addAction(QString::fromStdString(item));
    action->setCheckable(true);
    action->setChecked(static_cast<int32_t>(actions.size()) + 1 == GetValue());
    actions.push_back(action);
  }
  QAction* chosen = menu.exec(widget->mapToGlobal(QPoint(0, widget->height())));
  if (!widget || !chosen) return false;  // the window may have gone meanwhile
  for (std::size_t i = 0; i < actions.size(); ++i)
    if (actions[i] == chosen) {
      SetValue(static_cast<int32_t>(i) + 1);
      return true;
    }
  return false;
}

void LPopupButton::HotSpotResult(int16_t) {}

void LPopupButton::Click() {
  Clicked(0, QPoint(), static_cast<int16_t>(ModifiersOf(QGuiApplication::keyboardModifiers())));
}

void LPopupButton::ValueChanged() {
  static_cast<CPopupWidget*>(GetWidget())->setCurrentIndex(GetValue() - 1);
}
