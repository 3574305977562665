#pragma once

#include "Platform/Framework/LControl.h"

#include <memory>
#include <string>
#include <vector>

// The items of a popup menu.
class LMenu {
public:
  LMenu() = default;
  // A fresh copy of menu `id` of the resource file; null when there is none.
  static std::unique_ptr<LMenu> GetMenu(ResIDT id);

  void AppendItem(std::string const& text) { mItems.push_back(text); }
  int16_t CountItems() const { return static_cast<int16_t>(mItems.size()); }
  // Item `index`, 1-based; "" when absent.
  std::string GetItemText(int16_t index) const;
  std::vector<std::string> const& GetItems() const { return mItems; }

private:
  std::vector<std::string> mItems;
};

// A popup button: its value is the chosen item (1-based), 0 for none. A click
// opens the menu at once; choosing an item sets the value.
class LPopupButton : public LControl {
public:
  // The resource "menu" names the menu it starts with.
  explicit LPopupButton(LStream* stream);
  ~LPopupButton() override;

  // Takes the menu; the range becomes 0..items and a value beyond it is
  // narrowed without broadcasting.
  void SetMenu(std::unique_ptr<LMenu> menu);
  LMenu* GetMenu() const { return mMenu.get(); }
  void SetCurrentMenuItem(int16_t item) { SetValue(item); }
  int16_t GetCurrentMenuItem() const { return static_cast<int16_t>(GetValue()); }

  // Shows the menu and waits for a choice; true when an item was chosen.
  bool TrackHotSpot(int16_t part, QPoint const& where, int16_t modifiers) override;
  // The value was set by the choice: nothing more to broadcast.
  void HotSpotResult(int16_t part) override;

  // Opens the menu as a click does.
  void Click();

protected:
  void ValueChanged() override;

private:
  std::unique_ptr<LMenu> mMenu;
};
