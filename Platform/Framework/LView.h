#pragma once

#include "Platform/Framework/LException.h"
#include "Platform/Framework/LPane.h"

#include <memory>
#include <vector>

// A pane that holds panes.
class LView : public LPane {
public:
  explicit LView(LStream* stream);
  ~LView() override;

  void AddSubPane(std::unique_ptr<LPane> pane);
  // This view or the first pane below it with the id; null when none.
  LPane* FindPaneByID(PaneIDT id);
  std::vector<std::unique_ptr<LPane>> const& GetSubPanes() const { return mSubPanes; }

  // Every pane below this view, depth first.
  template <typename F>
  void ForEachPane(F const& f) {
    for (auto& pane : mSubPanes) {
      f(*pane);
      if (LView* view = dynamic_cast<LView*>(pane.get())) view->ForEachPane(f);
    }
  }

protected:
  LView(LStream* stream, QWidget* widget);

private:
  std::vector<std::unique_ptr<LPane>> mSubPanes;
};

// Finds a pane by id as the given class; throws 'nilP' when there is none.
template <typename T>
T* FindPaneByIDAs(LView* view, PaneIDT id) {
  T* pane = view ? dynamic_cast<T*>(view->FindPaneByID(id)) : nullptr;
  if (!pane) throw LException(err_NilPointer, "pane lookup");
  return pane;
}
