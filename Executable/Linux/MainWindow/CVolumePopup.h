#pragma once

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

  // Looks at the mount table for volumes that came or went.
  void PollVolumes();

  long GetVolumeRefNum() const { return mVolumeRefNum; }
  std::string const& GetVolumePath() const { return mVolumePath; }

private:
  static bool VolumeRefNumToPath(long refNum, std::string& path);
  void TakeEmptyMenu();

  long mVolumeRefNum;
  std::string mVolumePath;
  std::vector<long> mRefNums;
  std::unique_ptr<QTimer> mWatch;
};
