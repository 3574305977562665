#include "Platform/Framework/LControl.h"

#include "Platform/Framework/LException.h"
#include "Platform/Framework/LStream.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

LControl::LControl(LStream* stream) : LControl(stream, nullptr) {}

LControl::LControl(LStream* stream, QWidget* widget)
    : LPane(stream, widget), mValue(0), mMinValue(0), mMaxValue(0), mValueMessage(0) {
  if (!stream) return;
  mMinValue = stream->Int("min", 0);
  mMaxValue = std::max(mMinValue, stream->Int("max", 0));
  mValue = std::clamp(stream->Int("value", mMinValue), mMinValue, mMaxValue);
  mValueMessage = stream->Id("message", GetPaneID());
}

void LControl::StoreValue(int32_t value) {
  mValue = std::clamp(value, mMinValue, mMaxValue);
  ValueChanged();
}

void LControl::SetValue(int32_t value) {
  int32_t const old = mValue;
  StoreValue(value);
  if (mValue != old) BroadcastValueMessage();
}

void LControl::SetMinValue(int32_t value) {
  mMinValue = value;
  if (mMaxValue < value) mMaxValue = value;
  StoreValue(mValue);
}

void LControl::SetMaxValue(int32_t value) {
  mMaxValue = value;
  if (mMinValue > value) mMinValue = value;
  StoreValue(mValue);
}

void LControl::BroadcastValueMessage() {
  if (mValueMessage != msg_Nothing) BroadcastMessage(mValueMessage, &mValue);
}

bool LControl::TrackHotSpot(int16_t, QPoint const&, int16_t) { return true; }

void LControl::HotSpotResult(int16_t) { BroadcastValueMessage(); }

void LControl::SimulateHotSpotClick(int16_t part) { HotSpotResult(part); }

void LControl::Clicked(int16_t part, QPoint const& where, int16_t modifiers) {
  if (TrackHotSpot(part, where, modifiers)) HotSpotResult(part);
}

LPushButton::LPushButton(LStream* stream) : LControl(stream, new QPushButton) {
  QPushButton* button = static_cast<QPushButton*>(GetWidget());
  button->setAutoDefault(false);
  if (stream) button->setText(stream->Text());
  QObject::connect(button, &QPushButton::clicked, [this] {
    CatchAndReport("button", [this] {
      Clicked(0, QPoint(), static_cast<int16_t>(ModifiersOf(QGuiApplication::keyboardModifiers())));
    });
  });
}

void LPushButton::SetDescriptor(std::string const& text) {
  static_cast<QPushButton*>(GetWidget())->setText(QString::fromStdString(text));
}

std::string LPushButton::GetDescriptor() const {
  return static_cast<QPushButton*>(GetWidget())->text().toStdString();
}

LProgressBar::LProgressBar(LStream* stream) : LControl(stream, new QProgressBar) {
  static_cast<QProgressBar*>(GetWidget())->setTextVisible(false);
  ValueChanged();
}

void LProgressBar::ValueChanged() {
  QProgressBar* bar = static_cast<QProgressBar*>(GetWidget());
  bar->setRange(GetMinValue(), GetMaxValue());
  bar->setValue(GetValue());
}

LCaption::LCaption(LStream* stream) : LPane(stream, new QLabel) {
  QLabel* label = static_cast<QLabel*>(GetWidget());
  label->setWordWrap(stream && stream->Flag("wrap", false));
  if (!stream) return;
  label->setText(stream->Text());
  QString const align = stream->String("align");
  if (align == "right") label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (align == "center") label->setAlignment(Qt::AlignCenter);
}

void LCaption::SetDescriptor(std::string const& text) {
  static_cast<QLabel*>(GetWidget())->setText(QString::fromStdString(text));
}

std::string LCaption::GetDescriptor() const {
  return static_cast<QLabel*>(GetWidget())->text().toStdString();
}
