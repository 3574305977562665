#include "Platform/Framework/UReanimator.h"

#include "Platform/Framework/LBroadcaster.h"
#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/LStream.h"
#include "Platform/Framework/LWindow.h"
#include "Platform/Framework/URegistrar.h"
#include "Platform/Framework/UResources.h"

#include <QJsonArray>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<LPane> Build(QJsonObject const& object, QJsonObject const& texts,
                             std::vector<LPane*>& built) {
  LStream stream(object, texts);
  std::unique_ptr<LPane> pane(URegistrar::CreateObject(stream.ClassId(), &stream));
  if (!pane)
    throw LException(err_NilPointer,
                     "pane class " + LException::CodeText(stream.ClassId()) + " not registered");
  QJsonArray const subs = object.value("panes").toArray();
  if (!subs.isEmpty()) {
    LView* view = dynamic_cast<LView*>(pane.get());
    if (!view) throw LException(err_NilPointer, "panes inside a pane that is no view");
    for (QJsonValue const& sub : subs) view->AddSubPane(Build(sub.toObject(), texts, built));
  }
  built.push_back(pane.get());
  return pane;
}

// The class of the first pane of the tree that is not registered.
bool FindUnregistered(QJsonObject const& object, ClassIDT& unregistered) {
  for (QJsonValue const& sub : object.value("panes").toArray()) {
    LStream const stream(sub.toObject(), QJsonObject());
    if (!URegistrar::IsRegistered(stream.ClassId())) {
      unregistered = stream.ClassId();
      return true;
    }
    if (FindUnregistered(sub.toObject(), unregistered)) return true;
  }
  return false;
}

// The first pane of the tree with the id.
bool FindPane(QJsonObject const& object, PaneIDT id, QJsonObject& found) {
  for (QJsonValue const& sub : object.value("panes").toArray()) {
    if (LStream(sub.toObject(), QJsonObject()).PaneId() == id) {
      found = sub.toObject();
      return true;
    }
    if (FindPane(sub.toObject(), id, found)) return true;
  }
  return false;
}

}  // namespace

std::string UReanimator::CheckWindow(SRequiredWindow const& required) {
  std::string const where = "window " + std::to_string(required.id);
  if (!UResources::Has("windows", required.id)) return where + " is missing";
  QJsonObject layout = UResources::Find("windows", required.id);
  if (!layout.contains("class")) layout.insert("class", "wind");
  ClassIDT const windowClass = LStream(layout, QJsonObject()).ClassId();
  bool const fits = required.classId != 0
                        ? windowClass == required.classId
                        : windowClass == FourChar("wind") || windowClass == FourChar("dlog");
  if (!fits || !URegistrar::IsRegistered(windowClass))
    return where + " is of class " + LException::CodeText(windowClass) +
           ", not the window the program needs";
  ClassIDT unregistered = 0;
  if (FindUnregistered(layout, unregistered))
    return where + " has a pane of class " + LException::CodeText(unregistered) +
           ", which is not registered";
  for (auto const& pane : required.panes) {
    std::string const name = LStream::KeyOf(pane.first).toStdString();
    QJsonObject object;
    if (!FindPane(layout, pane.first, object)) return where + " has no pane " + name;
    // Built alone, without finishing its creation, only to test its class.
    LStream stream(object, QJsonObject());
    std::unique_ptr<LPane> built(URegistrar::CreateObject(stream.ClassId(), &stream));
    if (!built || !pane.second(built.get()))
      return where + " pane " + name + " is of class " + LException::CodeText(stream.ClassId()) +
             ", not the one the program needs";
  }
  return std::string();
}

LWindow* UReanimator::CreateWindow(ResIDT id, LCommander* super) {
  if (!UResources::Has("windows", id))
    throw LException(err_NilPointer, "window " + std::to_string(id) + " not in the resources");
  QJsonObject layout = UResources::Find("windows", id);
  if (!layout.contains("class")) layout.insert("class", "wind");
  layout.insert("id", static_cast<double>(id));
  QJsonObject const texts = layout.value("texts").toObject();
  LStream stream(layout, texts);
  std::unique_ptr<LPane> pane(URegistrar::CreateObject(stream.ClassId(), &stream));
  std::unique_ptr<LWindow> window(dynamic_cast<LWindow*>(pane.get()));
  if (!window) throw LException(err_NilPointer, "window " + std::to_string(id) + " is no window");
  pane.release();
  window->SetSuperCommander(super);
  std::vector<LPane*> built;
  for (QJsonValue const& sub : layout.value("panes").toArray())
    window->AddSubPane(Build(sub.toObject(), texts, built));
  for (LPane* p : built) p->FinishCreateSelf();
  window->FinishCreateSelf();
  return window.release();
}

void UReanimator::LinkListenerToControls(LListener* listener, LView* view, ResIDT listId) {
  if (!view) return;
  for (PaneIDT id : UResources::GetListenerList(listId))
    if (LControl* control = dynamic_cast<LControl*>(view->FindPaneByID(id)))
      control->AddListener(listener);
}
