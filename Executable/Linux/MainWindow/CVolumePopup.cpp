#include "Executable/Linux/MainWindow/CVolumePopup.h"

#include "Executable/Linux/Volume/CVolumeLister.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/UModalState.h"

#include <QTimer>

namespace {

ResIDT const nVolumeMenu = 12345;
// How often the mount table is looked at; reading it costs little.
int const nWatchMilliseconds = 500;

}  // namespace

ClassIDT const CVolumePopup::class_ID = FourChar("Vpop");

CVolumePopup::CVolumePopup(LStream* stream)
    : LPopupButton(stream),
      mVolumeRefNum(0),
      mVolumePath(),
      mRefNums(),
      mWatch(),
      mPendingChanges(0),
      mAlive(std::make_shared<bool>(true)) {}

CVolumePopup::~CVolumePopup() {}

void CVolumePopup::FinishCreateSelf() {
  LPopupButton::FinishCreateSelf();
  mWatch.reset(new QTimer);
  QObject::connect(mWatch.get(), &QTimer::timeout,
                   [this] { CatchAndReport("volume events", [this] { PollVolumes(); }); });
  VQ7::CVolumeLister::Default()->Poll();  // the snapshot changes are measured against
  mWatch->start(nWatchMilliseconds);
  TakeEmptyMenu();
}

void CVolumePopup::TakeEmptyMenu() {
  SetMenu(
      std::unique_ptr<LMenu>(ThrowIfNil_(LMenu::GetMenu(nVolumeMenu).release(), "volume menu")));
}

void CVolumePopup::SetupVolumeMenu(char const* path) {
  mRefNums.clear();
  std::unique_ptr<LMenu> menu(ThrowIfNil_(LMenu::GetMenu(nVolumeMenu).release(), "volume menu"));
  int16_t selected = 0;
  for (VQ7::CVolumeLister::CVolume const& volume : VQ7::CVolumeLister::Default()->List()) {
    menu->AppendItem(volume.mName);
    mRefNums.push_back(volume.mRefNum);
    bool const match = path ? volume.mPath == path : volume.mRefNum == mVolumeRefNum;
    if (match) selected = menu->CountItems();
  }
  bool const broadcasting = IsBroadcasting();
  StopBroadcasting();
  SetMenu(std::move(menu));
  if (selected != 0 && selected != GetCurrentMenuItem())
    SetCurrentMenuItem(selected);
  else if (selected == 0)
    // Nothing chosen shows as such; the remembered volume stays, so that it
    // is found again when it comes back.
    LPopupButton::SetValue(0);
  if (broadcasting) StartBroadcasting();
}

void CVolumePopup::SetValue(int32_t value) {
  bool const broadcasting = IsBroadcasting();
  StopBroadcasting();
  LPopupButton::SetValue(value);
  if (broadcasting) StartBroadcasting();
  UpdateVolumeInfo();
}

bool CVolumePopup::TrackHotSpot(int16_t part, QPoint const& where, int16_t modifiers) {
  SetupVolumeMenu(nullptr);
  bool const chosen = LPopupButton::TrackHotSpot(part, where, modifiers);
  UpdateVolumeInfo();
  if (chosen) BroadcastValueMessage();
  return chosen;
}

void CVolumePopup::UpdateVolumeInfo() {
  mVolumeRefNum = 0;
  mVolumePath.clear();
  long const index = static_cast<long>(GetValue()) - 1;
  if (index >= 0 && index < static_cast<long>(mRefNums.size())) {
    std::string path;
    if (!VolumeRefNumToPath(mRefNums[static_cast<std::size_t>(index)], path)) return;
    mVolumePath = path;
    mVolumeRefNum = mRefNums[static_cast<std::size_t>(index)];
  } else if (GetMenu() && GetMenu()->CountItems() > 0) {
    TakeEmptyMenu();
  }
}

bool CVolumePopup::VolumeRefNumToPath(long refNum, std::string& path) {
  path.clear();
  VQ7::CVolumeLister::CVolume volume;
  if (!VQ7::CVolumeLister::Default()->Find(refNum, volume)) return false;
  path = volume.mPath;
  return true;
}

OSStatus32 CVolumePopup::HandleVolumeEvent(CVolumeEvent const& event) {
  if (event.mKind == CVolumeEvent::Mounted) {
    std::string path;
    if (VolumeRefNumToPath(event.mRefNum, path) && !mVolumePath.empty() && path == mVolumePath) {
      mVolumeRefNum = event.mRefNum;
      BroadcastValueMessage();
    }
  } else if (event.mKind == CVolumeEvent::Unmounted) {
    // With no volume chosen there is nothing that could have gone.
    if (mVolumeRefNum != 0 && event.mRefNum == mVolumeRefNum) BroadcastValueMessage();
  }
  return err_NotHandled;
}

void CVolumePopup::PollVolumes() {
  VQ7::CVolumeLister::CChange const change = VQ7::CVolumeLister::Default()->Poll();
  for (long refNum : change.mUnmounted)
    Dispatch({CVolumeEvent::Unmounted, refNum}, mVolumeRefNum != 0 && refNum == mVolumeRefNum);
  for (VQ7::CVolumeLister::CVolume const& volume : change.mMounted)
    Dispatch({CVolumeEvent::Mounted, volume.mRefNum},
             !mVolumePath.empty() && volume.mPath == mVolumePath);
}

void CVolumePopup::Dispatch(CVolumeEvent const& event, bool concernsChosen) {
  if (!concernsChosen) {
    HandleVolumeEvent(event);
    return;
  }
  ++mPendingChanges;
  std::weak_ptr<bool> const alive = mAlive;
  UModalState::Defer([this, alive, event] {
    if (alive.expired()) return;
    --mPendingChanges;
    HandleVolumeEvent(event);
  });
}
