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

  // Looks at the mount table for volumes that came or went. A change that
  // concerns the chosen volume is acted on once no modal window runs: the
  // selection it brings replaces the model an operation may be working on.
  void PollVolumes();
  // A change of the chosen volume waits to be acted on.
  bool IsVolumeChangePending() const { return mPendingChanges > 0; }

  long GetVolumeRefNum() const { return mVolumeRefNum; }
  std::string const& GetVolumePath() const { return mVolumePath; }

private:
  static bool VolumeRefNumToPath(long refNum, std::string& path);
  void TakeEmptyMenu();
  bool Concerns(VQ7::CVolumeLister::CChange const& change) const;
  void ActOn(VQ7::CVolumeLister::CChange const& change);

  long mVolumeRefNum;
  std::string mVolumePath;
  std::vector<long> mRefNums;
  std::unique_ptr<QTimer> mWatch;
  int mPendingChanges;
  // Expires with the popup, so that work deferred past its end does nothing.
  std::shared_ptr<bool> mAlive;
};
