#include "Executable/Linux/MainWindow/CMainWindow.h"

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Playback/CPlayer.h"
#include "Executable/Com/PadMatrix/CPadExecuteEventListener.h"
#include "Executable/Com/PadMatrix/CPadFactory.h"
#include "Executable/Com/PadMatrix/CPadSelectionEventListener.h"
#include "Executable/Linux/FileDialog/CFileChooser.h"
#include "Executable/Linux/FileDialog/CFileDesignator.h"
#include "Executable/Linux/MainWindow/CVolumePopup.h"
#include "Executable/Linux/MainWindow/CWindowPosition.h"
#include "GT/Linux/CIniProfile.h"
#include "Platform/Framework/LControl.h"
#include "Platform/Framework/LPopupButton.h"
#include "Platform/Framework/UKeyFilters.h"
#include "Platform/Framework/UReanimator.h"
#include "UL/Com/Dialog/ITextDialog.h"
#include "UL/Linux/Bitmap/CDrawInfo.h"
#include "UL/Linux/Event/EventTranslation.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <climits>

namespace {

PaneIDT const nVolumePopup = FourChar("Vpop");
PaneIDT const nBankPopup = FourChar("Bank");
PaneIDT const nImport = FourChar("Impt");
PaneIDT const nExport = FourChar("Expt");
PaneIDT const nDelete = FourChar("Delt");
PaneIDT const nExit = FourChar("Exit");
ResIDT const nListenerList = 1000;
ResIDT const nBankMenu = 12345;
long const nMatrixTop = 72;
char const nFirstBank = 'C';
int const nBankCount = 8;

// Ends a press that will see no release: the pointer grab went elsewhere.
class CGrabWatch : public QObject {
public:
  explicit CGrabWatch(bool& tracking) : mTracking(tracking) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::UngrabMouse || event->type() == QEvent::WindowDeactivate)
      mTracking = false;
    return false;
  }

private:
  bool& mTracking;
};

int Narrow(long value) {
  return static_cast<int>(std::clamp<long>(value, INT_MIN / 2, INT_MAX / 2));
}

}  // namespace

ClassIDT const CMainWindow::class_ID = FourChar("Mwnd");
char const* const CMainWindow::sPositionKey = "MainWindowPos";

void CMainWindow::CPadPlayObserver::Update(boost::any const&, boost::any const&,
                                           boost::any const&) {
  mWindow->StartPlayIndicator();
}

CMainWindow::CMainWindow(LStream* stream)
    : LWindow(stream),
      mDomain(nullptr),
      mPadMatrix(new VQ7::CPadMatrix(4, 4, GT::CPointT<long>(5, 5), GT::CSizeT<long>(10, 10))),
      mPlayObserver(),
      mTracking(false),
      mHasPosition(false),
      mPosition(),
      mGrabWatch(new CGrabWatch(mTracking)) {
  GetWidget()->installEventFilter(mGrabWatch.get());
}

UReanimator::SRequiredWindow CMainWindow::RequiredWindow(ResIDT layout) {
  UReanimator::PaneTest const control = UReanimator::IsA<LControl>();
  return {layout,
          class_ID,
          {{nVolumePopup, UReanimator::IsA<CVolumePopup>()},
           {nBankPopup, UReanimator::IsA<LPopupButton>()},
           {nImport, control},
           {nExport, control},
           {nDelete, control},
           {nExit, control}}};
}

CMainWindow::~CMainWindow() {
  StopRepeating();
  SavePosition();
  mPlayObserver.reset();
  mPadMatrix.reset();
}

bool CMainWindow::CanPlaceWindows() {
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void CMainWindow::RestorePosition() {
  if (!CanPlaceWindows()) return;
  long left = 0, top = 0;
  GT::CIniProfile profile;
  if (!VQ7::CWindowPosition::Unpack(profile.Read(sPositionKey, VQ7::CWindowPosition::nAbsent), left,
                                    top))
    return;
  std::vector<QRect> screens;
  for (QScreen* screen : QGuiApplication::screens()) screens.push_back(screen->availableGeometry());
  QRect const content(QPoint(static_cast<int>(left), static_cast<int>(top)),
                      GetWindowWidget()->size());
  mPosition = VQ7::CWindowPosition::OntoScreens(content, screens);
  mHasPosition = true;
}

void CMainWindow::Show() {
  LWindow::Show();
  if (mHasPosition) PlaceAt(mPosition);
}

// Saved and restored through one geometry, the window's area inside its
// frame (menu bar included, whose height settles only after showing), so
// the window does not creep from one start to the next.
void CMainWindow::PlaceAt(QPoint const& at) {
  QRect geometry = GetWindowWidget()->geometry();
  geometry.moveTopLeft(at);
  GetWindowWidget()->setGeometry(geometry);
}

void CMainWindow::SavePosition() {
  if (!CanPlaceWindows()) return;
  QRect const bounds = GetWindowWidget()->geometry();
  GT::CIniProfile profile;
  profile.Write(sPositionKey, VQ7::CWindowPosition::Pack(bounds.left(), bounds.top()));
}

void CMainWindow::FinishCreateSelf() {
  LWindow::FinishCreateSelf();
  UReanimator::LinkListenerToControls(this, this, nListenerList);
  RestorePosition();
}

void CMainWindow::Initialize(VQ7::CDomain* domain) {
  mDomain = domain;
  VQ7::CController& controller = mDomain->Controller();
  VQ7::CPlayer& player = mDomain->Player();
  controller.Initialize(*this);
  mPlayObserver.reset(new CPadPlayObserver(this));
  player.AddView(mPlayObserver);

  GT::CRectT<long> const matrix = mPadMatrix->GetRectangle();
  QRect frame;
  CalcLocalFrameRect(frame);
  long const x = (static_cast<long>(frame.width()) - (matrix.right - matrix.left)) / 2;
  mPadMatrix->Initialize(*this, GT::CPointT<long>(x, nMatrixTop),
                         boost::shared_ptr<VQ7::IPadFactory>(new VQ7::CPadFactory),
                         boost::shared_ptr<VQ7::APad::ISelectionEventListener>(
                             new VQ7::CPadSelectionEventListener(controller, player)),
                         boost::shared_ptr<VQ7::APad::IEditEventListener>(),
                         boost::shared_ptr<VQ7::APad::IFocusEventListener>(),
                         boost::shared_ptr<VQ7::APad::IExecuteEventListener>(
                             new VQ7::CPadExecuteEventListener(controller, player)));

  UpdataCurrentVolumeUi();
  controller.SelectCurrentVolume();
  mDomain->SetupLogger();
}

// ---- view callbacks ----

void CMainWindow::UpdataCurrentVolumeUi() {
  FindPaneByIDAs<CVolumePopup>(this, nVolumePopup)
      ->SetupVolumeMenu(mDomain->Controller().GetCurrentVolumeName().c_str());
}

void CMainWindow::UpdataCurrentBankUi() {
  LPopupButton* popup = FindPaneByIDAs<LPopupButton>(this, nBankPopup);
  if (mDomain->Controller().IsCurrentVolumeValid()) {
    SetupBankMenu();
    popup->Enable();
  } else {
    popup->SetMenu(std::unique_ptr<LMenu>(ThrowIfNil_(LMenu::GetMenu(nBankMenu).release())));
    popup->Disable();
  }
}

void CMainWindow::UpdataPadUi() {
  VQ7::CController& controller = mDomain->Controller();
  mPadMatrix->SetEnabled(controller.GetCurrentBankId() >= 0);
  for (long id = 0; id < mPadMatrix->GetRows() * mPadMatrix->GetColumns(); ++id)
    if (boost::shared_ptr<VQ7::APad> pad =
            mPadMatrix->GetPad(mPadMatrix->RowOf(id), mPadMatrix->ColumnOf(id)))
      pad->SetAssigned(controller.IsPadValid(id));
  long const current = controller.GetCurrentPadId();
  if (current >= 0)
    mPadMatrix->SetFocused(mPadMatrix->RowOf(current), mPadMatrix->ColumnOf(current));
  else
    mPadMatrix->KillFocused();
  mPadMatrix->Invalidate();
}

void CMainWindow::UpdataImportCommandUi() {
  EnableIf(nImport, mDomain->Controller().GetCurrentPadId() >= 0);
}

void CMainWindow::UpdataExportCommandUi() { EnableIf(nExport, IsCommandUsable(true)); }

void CMainWindow::UpdataDeleteCommandUi() { EnableIf(nDelete, IsCommandUsable(true)); }

void CMainWindow::EnableIf(PaneIDT button, bool enabled) {
  LControl* control = FindPaneByIDAs<LControl>(this, button);
  if (enabled)
    control->Enable();
  else
    control->Disable();
}

bool CMainWindow::IsCommandUsable(bool needsSample) {
  if (!mDomain) return false;
  VQ7::CController& controller = mDomain->Controller();
  long const pad = controller.GetCurrentPadId();
  if (!controller.IsCurrentVolumeValid() || pad < 0) return false;
  // The card went or came back while a dialog was open; the change is acted
  // on once the dialogs are gone, not overtaken by the command.
  if (FindPaneByIDAs<CVolumePopup>(this, nVolumePopup)->IsVolumeChangePending()) return false;
  return !needsSample || controller.IsPadValid(pad);
}

void CMainWindow::SetupBankMenu() {
  std::unique_ptr<LMenu> menu(ThrowIfNil_(LMenu::GetMenu(nBankMenu).release(), "bank menu"));
  for (int i = 0; i < nBankCount; ++i) menu->AppendItem(std::string(1, char(nFirstBank + i)));
  LPopupButton* popup = FindPaneByIDAs<LPopupButton>(this, nBankPopup);
  bool const broadcasting = popup->IsBroadcasting();
  // The program's own setting of the value is no choice of the user's.
  popup->StopBroadcasting();
  popup->SetMenu(std::move(menu));
  popup->SetValue(static_cast<int32_t>(mDomain->Controller().GetCurrentBankId() + 1));
  if (broadcasting) popup->StartBroadcasting();
}

// ---- commands ----

void CMainWindow::ListenToMessage(MessageT message, void*) {
  if (!mDomain) return;
  if (message == nVolumePopup)
    HandleVolumeSelect();
  else if (message == nBankPopup)
    HandleBankSelect();
  else if (message == nImport)
    HandleImport();
  else if (message == nExport)
    HandleExport();
  else if (message == nDelete)
    HandleDelete();
  else if (message == nExit)
    HandleExit();
}

void CMainWindow::HandleVolumeSelect() {
  CVolumePopup* popup = FindPaneByIDAs<CVolumePopup>(this, nVolumePopup);
  mDomain->Controller().SelectCurrentVolume(popup->GetVolumePath(), 0);
  // A card that has gone shows as no choice until the user picks one.
  popup->SetupVolumeMenu(nullptr);
  Refresh();
}

void CMainWindow::HandleBankSelect() {
  int32_t const value = FindPaneByIDAs<LPopupButton>(this, nBankPopup)->GetValue();
  if (value > 0) mDomain->Controller().SelectCurrentBank(value - 1);
  Refresh();
}

void CMainWindow::HandleImport() {
  VQ7::CController& controller = mDomain->Controller();
  mDomain->Player().Stop();
  if (!IsCommandUsable(false)) return;
  if (controller.IsPadValid(controller.GetCurrentPadId()) &&
      mDomain->CreateTextDialog()->Ask(UL::ITextDialog::OkCancel, UL::ITextDialog::Note,
                                       VQ7::CDomain::sTextCodeTable.ToText(
                                           VQ7::ConfirmOverwrite)) == UL::ITextDialog::AnswerCancel)
    return;
  if (!IsCommandUsable(false)) return;
  CVolumePopup* popup = FindPaneByIDAs<CVolumePopup>(this, nVolumePopup);
  CFileChooser chooser(mDomain->Controller(), mDomain->Player(), popup->GetVolumeRefNum());
  chooser.SetOptionFlags(chooser.GetOptionFlags() & ~LFileDialog::nAllowMultipleFiles);
  if (!chooser.AskOpenFile(LFileTypeList())) return;
  if (!IsCommandUsable(false)) return;
  controller.Import(chooser.GetFilePath(1));
}

void CMainWindow::HandleExport() {
  mDomain->Player().Stop();
  if (!IsCommandUsable(true)) return;
  CFileDesignator designator(mDomain);
  if (!designator.AskDesignateFile()) return;
  if (!IsCommandUsable(true)) return;
  SL::CWaveFileFormat const format =
      designator.IsAiffChosen() ? SL::CWaveFileFormat::FormAiff : SL::CWaveFileFormat::RiffWave;
  mDomain->Controller().Export(designator.GetFilePath(), format);
}

void CMainWindow::HandleDelete() {
  VQ7::CController& controller = mDomain->Controller();
  mDomain->Player().Stop();
  if (!IsCommandUsable(true)) return;
  long const pad = controller.GetCurrentPadId();
  if (mDomain->CreateTextDialog()->Ask(UL::ITextDialog::OkCancel, UL::ITextDialog::Note,
                                       VQ7::CDomain::sTextCodeTable.ToText(VQ7::ConfirmDelete)) ==
      UL::ITextDialog::AnswerCancel)
    return;
  // The same pad of a card still open, still holding its sample.
  if (!IsCommandUsable(true) || controller.GetCurrentPadId() != pad) return;
  controller.Delete(pad);
}

void CMainWindow::HandleExit() {
  if (mDomain) mDomain->Player().Stop();
  // Quitting is queued: the window is destroyed by the application's
  // shut-down, never inside this handler.
  LCommander::ProcessCommand(cmd_Quit);
}

bool CMainWindow::HandleKeyPress(EventRecord const& event) {
  if (UKeyFilters::IsEscapeKey(event))
    FindPaneByIDAs<LControl>(this, nExit)->SimulateHotSpotClick(10);
  return LWindow::HandleKeyPress(event);
}

void CMainWindow::AttemptClose() {
  LCommander* super = GetSuperCommander();
  if (super && !super->AllowSubRemoval(this)) return;
  LCommander::ProcessCommand(cmd_Quit);
}

void CMainWindow::DoClose() { LCommander::ProcessCommand(cmd_Quit); }

// ---- pointer input, drawing, play indicator ----

void CMainWindow::SendMouse(int32_t type, QPoint const& point, uint16_t modifiers) {
  UL::CMouseEvent const event(
      boost::any(this),
      UL::CMouseInfo(static_cast<UL::CMouseInfo::EType>(type),
                     GT::CPointT<long>(point.x(), point.y()), UL::MouseModifiersOf(modifiers)));
  mPadMatrix->Handle(event);
}

void CMainWindow::ClickSelf(SMouseDownEvent const& event) {
  int32_t type = UL::CMouseInfo::Down;
  if (sClickCount > 1) {
    type = UL::CMouseInfo::DoubleClick;
    sClickCount = 0;  // a third quick click starts anew
  }
  mTracking = true;
  SendMouse(type, event.wherePort, event.macEvent.modifiers);
  UpdatePort();
}

void CMainWindow::MouseTrackSelf(SMouseTrackEvent const& event) {
  if (!mTracking) return;
  if (event.result == nMouseTrackingReleased) {
    mTracking = false;
    SendMouse(UL::CMouseInfo::Up, event.wherePort, event.modifiers);
  } else if (event.result == nMouseTrackingDragged) {
    SendMouse(UL::CMouseInfo::Move, event.wherePort, event.modifiers);
  }
  UpdatePort();
}

void CMainWindow::AdjustMouseSelf(QPoint const& portPoint, EventRecord const& event) {
  LWindow::AdjustMouseSelf(portPoint, event);
  SendMouse(UL::CMouseInfo::Move, portPoint, event.modifiers);
}

void CMainWindow::DrawSelf() {
  UL::CDrawInfo const info(nullptr, GetPainter());
  mPadMatrix->Draw(info);
}

void CMainWindow::Invalidate(GT::CRectT<long> const& rect, bool) {
  InvalPortRect(QRect(QPoint(Narrow(rect.left), Narrow(rect.top)),
                      QPoint(Narrow(rect.right) - 1, Narrow(rect.bottom) - 1)));
}

void CMainWindow::UpdatePlayIndicator(bool restore) {
  if (!mDomain) return;
  VQ7::CController& controller = mDomain->Controller();
  long const id = controller.GetCurrentPadId();
  if (id < 0) return;
  boost::shared_ptr<VQ7::APad> pad =
      mPadMatrix->GetPad(mPadMatrix->RowOf(id), mPadMatrix->ColumnOf(id));
  if (!pad) return;
  pad->SetAssigned(restore ? controller.IsPadValid(id) : !pad->IsAssigned());
  pad->Invalidate();
}

void CMainWindow::StartPlayIndicator() {
  UpdatePlayIndicator(false);
  StartRepeating(0.25);
}

void CMainWindow::StopPlayIndicator() {
  StopRepeating();
  UpdatePlayIndicator(true);
}

void CMainWindow::SpendTime(EventRecord const&) {
  if (mDomain && mDomain->Player().IsPlaying())
    UpdatePlayIndicator(false);
  else
    StopPlayIndicator();
}
