#include "Platform/Framework/LView.h"

LView::LView(LStream* stream) : LPane(stream) {}

LView::LView(LStream* stream, QWidget* widget) : LPane(stream, widget) {}

// Sub-panes go first, each taking its widget with it, before this view's widget.
LView::~LView() {
  while (!mSubPanes.empty()) mSubPanes.pop_back();
}

void LView::AddSubPane(std::unique_ptr<LPane> pane) {
  if (!pane) return;
  pane->mSuperView = this;
  QRect const frame = pane->GetWidget()->geometry();
  pane->GetWidget()->setParent(GetWidget());
  pane->GetWidget()->setGeometry(frame);
  pane->GetWidget()->setVisible(pane->IsVisible());
  mSubPanes.push_back(std::move(pane));
}

LPane* LView::FindPaneByID(PaneIDT id) {
  if (GetPaneID() == id) return this;
  for (auto& pane : mSubPanes) {
    if (pane->GetPaneID() == id) return pane.get();
    if (LView* view = dynamic_cast<LView*>(pane.get()))
      if (LPane* found = view->FindPaneByID(id)) return found;
  }
  return nullptr;
}
