#include "Executable/Linux/Application/CBundleIconView.h"

#include "GT/Linux/FileSystem/FileSystem.h"

#include <QPainter>

ClassIDT const CBundleIconView::class_ID = FourChar("Icon");

CBundleIconView::CBundleIconView(LStream* stream)
    : LPane(stream), mIcon(), mFolder(GT::GetModuleDirectoryNameX()) {}

CBundleIconView::~CBundleIconView() { ReleaseIcon(); }

void CBundleIconView::ReleaseIcon() { mIcon = QImage(); }

bool CBundleIconView::LoadBundleIcnsFile(std::string const& name, bool refresh) {
  ReleaseIcon();
  if (name.empty()) return false;
  std::string base = name;
  for (char const* extension : {".icns", ".bmp"}) {
    std::string const ext(extension);
    if (base.size() >= ext.size()) {
      std::string tail = base.substr(base.size() - ext.size());
      for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (tail == ext) base.resize(base.size() - ext.size());
    }
  }
  if (base.empty()) return false;
  // The build draws the program's picture beside the pads' pictures.
  std::string const path = mFolder + "/Bitmap/" + base + ".bmp";
  QImage icon;
  if (!icon.load(QString::fromStdString(path))) return false;
  mIcon = icon;
  if (refresh) Refresh();
  return true;
}

void CBundleIconView::DrawSelf() {
  if (mIcon.isNull() || !GetPainter()) return;
  QRect frame;
  CalcLocalFrameRect(frame);
  QRect target(QPoint(0, 0),
               mIcon.size().scaled(frame.size(), Qt::KeepAspectRatio).boundedTo(mIcon.size()));
  target.moveCenter(frame.center());
  GetPainter()->drawImage(target, mIcon);
}
