#include "Platform/Framework/URegistrar.h"

#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LPopupButton.h"
#include "Platform/Framework/LView.h"
#include "Platform/Framework/LWindow.h"

#include <map>

namespace {

std::map<ClassIDT, URegistrar::Creator>& Registry() {
  static std::map<ClassIDT, URegistrar::Creator> sRegistry = [] {
    std::map<ClassIDT, URegistrar::Creator> r;
    r[FourChar("wind")] = [](LStream* s) -> LPane* { return new LWindow(s); };
    r[FourChar("dlog")] = [](LStream* s) -> LPane* { return new LDialogBox(s); };
    r[FourChar("pane")] = [](LStream* s) -> LPane* { return new LPane(s); };
    r[FourChar("view")] = [](LStream* s) -> LPane* { return new LView(s); };
    r[FourChar("pbut")] = [](LStream* s) -> LPane* { return new LPushButton(s); };
    r[FourChar("popb")] = [](LStream* s) -> LPane* { return new LPopupButton(s); };
    r[FourChar("pbar")] = [](LStream* s) -> LPane* { return new LProgressBar(s); };
    r[FourChar("capt")] = [](LStream* s) -> LPane* { return new LCaption(s); };
    return r;
  }();
  return sRegistry;
}

}  // namespace

void URegistrar::RegisterClass(ClassIDT id, Creator creator) { Registry()[id] = creator; }

LPane* URegistrar::CreateObject(ClassIDT id, LStream* stream) {
  auto it = Registry().find(id);
  return it == Registry().end() ? nullptr : it->second(stream);
}

bool URegistrar::IsRegistered(ClassIDT id) { return Registry().count(id) != 0; }
