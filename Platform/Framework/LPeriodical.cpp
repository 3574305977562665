#include "Platform/Framework/LPeriodical.h"

#include "Platform/Framework/LException.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include <cmath>

LPeriodical::LPeriodical() : mTimer(new QTimer) {
  QObject::connect(mTimer.get(), &QTimer::timeout, [this] {
    EventRecord event;
    event.modifiers = ModifiersOf(QGuiApplication::keyboardModifiers());
    event.where = QCursor::pos();
    CatchAndReport("periodical", [&] { SpendTime(event); });
  });
}

LPeriodical::~LPeriodical() = default;

void LPeriodical::StartRepeating(double seconds) {
  double const ms = std::isfinite(seconds) && seconds > 0 ? std::round(seconds * 1000.0) : 0.0;
  mTimer->start(static_cast<int>(ms > 3.6e6 ? 3.6e6 : ms));
}

void LPeriodical::StopRepeating() { mTimer->stop(); }

bool LPeriodical::IsRepeating() const { return mTimer->isActive(); }
