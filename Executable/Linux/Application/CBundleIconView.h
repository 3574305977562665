#pragma once

#include "Platform/Framework/LPane.h"

#include <QImage>

#include <string>

// The About box's picture of the application, centred in the pane.
class CBundleIconView : public LPane {
public:
  static ClassIDT const class_ID;

  explicit CBundleIconView(LStream* stream);
  ~CBundleIconView() override;

  // Loads the picture `name` (".icns" or ".bmp" or no extension) from the
  // Bitmap folder of `SetFolder` (the program's own by default); false, with
  // no picture, on any failure.
  bool LoadBundleIcnsFile(std::string const& name, bool refresh);
  void SetFolder(std::string const& folder) { mFolder = folder; }
  void ReleaseIcon();
  bool HasIcon() const { return !mIcon.isNull(); }

  void DrawSelf() override;

private:
  QImage mIcon;
  std::string mFolder;
};
