#pragma once

#include "Executable/Linux/Volume/CVolumeLister.h"
#include "Platform/Framework/LPopupButton.h"

#include <memory>
#include <string>
#include <vector>

class QTimer;

// The main window's popup for choosing the card volume. It lists the mounted
// volumes, remembers the chosen one's reference number and path, and follows
// mounts and unmounts: whenever the user chooses, or the chosen volume goes
// or comes back at the same path, it broadcasts its value message.
class CVolumePopup : public LPopupButton {
public:
  static ClassIDT const class_ID;
  explicit CVolumePopup(LStream* stream);
  ~CVolumePopup() override;

  // Rebuilds the list and selects the volume whose root path is `path`; a
  // null path selects the remembered reference number.
  virtual void SetupVolumeMenu(char const* path);
  // The reference number and path of the current value.
  virtual void UpdateVolumeInfo();

  void SetValue(int32_t value) override;
  void FinishCreateSelf() override;
  bool TrackHotSpot(int16_t part, QPoint const& where, int16_t modifiers) override;

  // A volume that was mounted or unmounted, with its reference number.
  struct CVolumeEvent {
    enum EKind { Mounted = 1, Unmounted = 2 };
    EKind mKind;
    long mRefNum;
  };
  // The chosen volume's path mounted again takes the new reference number
  // and is told; the chosen volume unmounted is told, its path kept, so that
  // the window reads a card that is gone. Always answers "not handled", so
  // that the event goes on to others.
  OSStatus32 HandleVolumeEvent(CVolumeEvent const& event);

  // Looks at the mount table for volumes that came or went and hands each
  // as an event to HandleVolumeEvent. An event that concerns the chosen
  // volume is handled once no modal window runs: the selection it brings
  // replaces the model an operation may be working on.
  void PollVolumes();
  // A change of the chosen volume waits to be acted on.
  bool IsVolumeChangePending() const { return mPendingChanges > 0; }

  long GetVolumeRefNum() const { return mVolumeRefNum; }
  std::string const& GetVolumePath() const { return mVolumePath; }

private:
  static bool VolumeRefNumToPath(long refNum, std::string& path);
  void TakeEmptyMenu();
  void Dispatch(CVolumeEvent const& event, bool concernsChosen);

  long mVolumeRefNum;
  std::string mVolumePath;
  std::vector<long> mRefNums;
  std::unique_ptr<QTimer> mWatch;
  int mPendingChanges;
  // Expires with the popup, so that work deferred past its end does nothing.
  std::shared_ptr<bool> mAlive;
};
