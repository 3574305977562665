#include "UL/Linux/Cursor/CCursor.h"

#include "Platform/Framework/UResources.h"
#include "UL/Com/Cursor/ICursorChanger.h"

#include <QCursor>
#include <QGuiApplication>
#include <QJsonObject>

#include <map>

namespace UL {

namespace {

Qt::CursorShape ShapeOf(int32_t resource) {
  static std::map<QString, Qt::CursorShape> const sShapes = {
      {"arrow", Qt::ArrowCursor},
      {"upArrow", Qt::UpArrowCursor},
      {"cross", Qt::CrossCursor},
      {"wait", Qt::WaitCursor},
      {"ibeam", Qt::IBeamCursor},
      {"sizeVertical", Qt::SizeVerCursor},
      {"sizeHorizontal", Qt::SizeHorCursor},
      {"sizeAll", Qt::SizeAllCursor},
      {"splitVertical", Qt::SplitVCursor},
      {"splitHorizontal", Qt::SplitHCursor},
      {"pointingHand", Qt::PointingHandCursor},
      {"forbidden", Qt::ForbiddenCursor},
      {"busy", Qt::BusyCursor},
      {"openHand", Qt::OpenHandCursor},
      {"closedHand", Qt::ClosedHandCursor},
      {"dragCopy", Qt::DragCopyCursor},
      {"dragMove", Qt::DragMoveCursor},
      {"dragLink", Qt::DragLinkCursor},
      {"whatsThis", Qt::WhatsThisCursor},
      {"blank", Qt::BlankCursor}};
  if (resource == 0) return Qt::ArrowCursor;
  auto it = sShapes.find(UResources::Find("cursors", resource).value("shape").toString());
  // A cursor the resource file does not hold shows the arrow.
  return it == sShapes.end() ? Qt::ArrowCursor : it->second;
}

bool HasScreen() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

CCursor::~CCursor() = default;

int32_t CCursor::ResourceOf(EType type) {
  static int32_t const sResources[] = {151, 150, 134, 135, 136, 137, 138, 133, 129, 128};
  if (type < Custom4 || type > Custom13) return 0;
  return sResources[type - Custom4];
}

void CCursor::Reset() {
  mEntries.clear();
  if (mOverriding && HasScreen()) QGuiApplication::restoreOverrideCursor();
  mOverriding = false;
}

void CCursor::Update(GT::CPointT<long> const& point) {
  if (mEntries.empty()) return;
  CEntry const entry = mEntries.back();
  entry.mChanger->Update(point);
  Set(entry.mType);
}

void CCursor::Set(EType type) {
  if (type < Arrow || type > Custom13 || !HasScreen()) return;
  QCursor const cursor(ShapeOf(ResourceOf(type)));
  if (mOverriding) {
    QGuiApplication::changeOverrideCursor(cursor);
  } else {
    QGuiApplication::setOverrideCursor(cursor);
    mOverriding = true;
  }
}

ICursor& Cursor() {
  static CCursor sCursor;
  return sCursor;
}

}  // namespace UL
