#pragma once

namespace VQ7 {

// What the controller calls back on the window. The view reads what it shows
// from the controller's accessors.
class IView {
public:
  virtual ~IView() {}
  virtual void UpdataCurrentVolumeUi() = 0;  // never called by the controller
  virtual void UpdataCurrentBankUi() = 0;
  virtual void UpdataPadUi() = 0;
  virtual void UpdataImportCommandUi() = 0;
  virtual void UpdataExportCommandUi() = 0;
  virtual void UpdataDeleteCommandUi() = 0;
};

}  // namespace VQ7
