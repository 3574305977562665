#pragma once

#include "Platform/Framework/LBroadcaster.h"
#include "Platform/Framework/LPane.h"

// A pane with a value that broadcasts its value message (its pane id unless
// the resource names a "message") when the value changes or it is clicked.
class LControl : public LPane, public LBroadcaster {
public:
  explicit LControl(LStream* stream);

  virtual void SetValue(int32_t value);  // clamped to the range; broadcasts on a change
  int32_t GetValue() const { return mValue; }
  virtual void SetMinValue(int32_t value);
  virtual void SetMaxValue(int32_t value);
  int32_t GetMinValue() const { return mMinValue; }
  int32_t GetMaxValue() const { return mMaxValue; }

  MessageT GetValueMessage() const { return mValueMessage; }
  void SetValueMessage(MessageT message) { mValueMessage = message; }
  // Broadcasts the value message with a pointer to the value.
  void BroadcastValueMessage();

  // Follows a click; true when it should take effect.
  virtual bool TrackHotSpot(int16_t part, QPoint const& where, int16_t modifiers);
  // What a click does; the default broadcasts the value message.
  virtual void HotSpotResult(int16_t part);
  // Acts as a click on the control.
  virtual void SimulateHotSpotClick(int16_t part);

protected:
  LControl(LStream* stream, QWidget* widget);
  // Shows the value, range and text in the widget.
  virtual void ValueChanged() {}
  // A click from the widget.
  void Clicked(int16_t part, QPoint const& where, int16_t modifiers);
  // Stores a value without broadcasting.
  void StoreValue(int32_t value);

private:
  int32_t mValue;
  int32_t mMinValue;
  int32_t mMaxValue;
  MessageT mValueMessage;
};

// A push button; the resource "text" is its title.
class LPushButton : public LControl {
public:
  explicit LPushButton(LStream* stream);
  void SetDescriptor(std::string const& text) override;
  std::string GetDescriptor() const override;
};

// A progress bar showing the value within the range.
class LProgressBar : public LControl {
public:
  explicit LProgressBar(LStream* stream);

protected:
  void ValueChanged() override;
};

// A line or block of text; the resource "text" is its descriptor.
class LCaption : public LPane {
public:
  explicit LCaption(LStream* stream);
  void SetDescriptor(std::string const& text) override;
  std::string GetDescriptor() const override;
};
