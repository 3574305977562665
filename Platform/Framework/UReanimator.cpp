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

}  // namespace

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
