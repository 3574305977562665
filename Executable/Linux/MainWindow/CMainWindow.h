#pragma once

#include "Executable/Com/Controller/IView.h"
#include "Executable/Com/PadMatrix/CPadMatrix.h"
#include "Executable/Com/PadMatrix/IPadContainerView.h"
#include "GT/Com/Observer/IMvcObserver.h"
#include "Platform/Framework/LListener.h"
#include "Platform/Framework/LPeriodical.h"
#include "Platform/Framework/UReanimator.h"
#include "Platform/Framework/LWindow.h"

#include <boost/shared_ptr.hpp>

#include <QPoint>

#include <memory>
#include <string>

class QObject;

namespace VQ7 {
class CDomain;
}

// The application's only document window: the 4 x 4 pads, the volume and
// bank popups and the command buttons. Every command becomes one call of the
// controller; the controller's view callbacks refill the controls.
class CMainWindow : public LWindow,
                    public LListener,
                    public LPeriodical,
                    public VQ7::IView,
                    public VQ7::IPadContainerView {
public:
  static ClassIDT const class_ID;
  static char const* const sPositionKey;  // "MainWindowPos"

  // Tells the window that a pad's sample started playing.
  class CPadPlayObserver : public GT::IMvcObserver {
  public:
    explicit CPadPlayObserver(CMainWindow* window) : mWindow(window) {}
    void Update(boost::any const&, boost::any const&, boost::any const&) override;

  private:
    CMainWindow* mWindow;
  };

  explicit CMainWindow(LStream* stream);
  ~CMainWindow() override;

  // What the window, built from the layout, looks up in it.
  static UReanimator::SRequiredWindow RequiredWindow(ResIDT layout);

  virtual void Initialize(VQ7::CDomain* domain);

  void UpdataCurrentVolumeUi() override;
  void UpdataCurrentBankUi() override;
  void UpdataPadUi() override;
  void UpdataImportCommandUi() override;
  void UpdataExportCommandUi() override;
  void UpdataDeleteCommandUi() override;

  void Invalidate(GT::CRectT<long> const& rect, bool) override;
  void ListenToMessage(MessageT message, void* parameter) override;
  bool HandleKeyPress(EventRecord const& event) override;
  void SpendTime(EventRecord const& event) override;

  void FinishCreateSelf() override;
  void Show() override;
  void AttemptClose() override;
  void DoClose() override;
  void ClickSelf(SMouseDownEvent const& event) override;
  void MouseTrackSelf(SMouseTrackEvent const& event) override;
  void AdjustMouseSelf(QPoint const& portPoint, EventRecord const& event) override;
  void DrawSelf() override;

  void HandleImport();
  void HandleExport();
  void HandleDelete();
  void HandleExit();
  void HandleBankSelect();
  void HandleVolumeSelect();
  void SetupBankMenu();

  void UpdatePlayIndicator(bool restore);
  void StartPlayIndicator();
  void StopPlayIndicator();

  VQ7::CPadMatrix& GetPadMatrix() { return *mPadMatrix; }

private:
  // Whether a card is open and a pad selected (holding a sample when asked):
  // a volume can vanish while a dialog is open.
  bool IsCommandUsable(bool needsSample);
  void EnableIf(PaneIDT button, bool enabled);
  void SendMouse(int32_t type, QPoint const& point, uint16_t modifiers);
  // Placement is ours only where the display server lets programs place
  // their windows.
  static bool CanPlaceWindows();
  void RestorePosition();
  void PlaceAt(QPoint const& at);
  void SavePosition();

  VQ7::CDomain* mDomain;
  boost::shared_ptr<VQ7::CPadMatrix> mPadMatrix;
  boost::shared_ptr<CPadPlayObserver> mPlayObserver;
  bool mTracking;
  // Applied again once shown: some platforms add their frame only then.
  bool mHasPosition;
  QPoint mPosition;
  std::unique_ptr<QObject> mGrabWatch;
};
