#include "UL/Linux/Bitmap/CDrawInfo.h"
#include "UL/Linux/Bitmap/CStateBitmapFactory.h"

#include "Support/GuiApplication.h"
#include "Support/AudioFixtures.h"
#include "Support/FileBytes.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

// Draws through the drawing context as the program's windows do.
class CCanvas : public QWidget {
public:
  std::function<void(UL::CDrawInfo const&)> mDraw;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (mDraw) mDraw(UL::CDrawInfo(nullptr, &painter));
  }
};

QRgb StateColour(int state) { return qRgb(state * 4, 255 - state * 4, (state * 37) % 256); }

TEST(StatePicture, A64StateStripDrawsEachStateFromItsOwnCell) {
  Support::GuiApplication();
  TestSupport::CScratchDir folder;
  QImage strip(40, 40 * 64, QImage::Format_RGB32);
  for (int state = 0; state < 64; ++state)
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) strip.setPixel(x, state * 40 + y, StateColour(state));
  strip.setPixel(0, 17 * 40, qRgb(1, 2, 3));  // marks the cell's top-left corner
  ASSERT_TRUE(strip.save(QString::fromStdString(folder.Path() + "/Strip.bmp"), "BMP"));

  UL::CStateBitmapFactory factory(folder.Path() + "/");
  boost::shared_ptr<UL::AStateBitmap> bitmap = factory.Create("Strip", 64, false, false);
  ASSERT_TRUE(bitmap->Create(factory.GetDirectoryPathName()));
  EXPECT_EQ(40, bitmap->GetStateSize().width);
  EXPECT_EQ(40, bitmap->GetStateSize().height);

  CCanvas canvas;
  canvas.resize(120, 140);
  canvas.mDraw = [&](UL::CDrawInfo const& info) {
    bitmap->DrawState(info, GT::CPointT<long>(5, 72), 17);
  };
  QImage const shot = canvas.grab().toImage();
  EXPECT_EQ(qRgb(1, 2, 3), shot.pixel(5, 72));
  EXPECT_EQ(StateColour(17), shot.pixel(44, 111));
  EXPECT_EQ(StateColour(17), shot.pixel(6, 72));
  EXPECT_EQ(qRgb(255, 255, 255), shot.pixel(45, 111));  // nothing beyond the cell
  EXPECT_EQ(qRgb(255, 255, 255), shot.pixel(44, 112));
  EXPECT_EQ(qRgb(255, 255, 255), shot.pixel(4, 71));
}

TEST(StatePicture, AMissingOrTruncatedPictureIsReportedAndDrawsNothing) {
  Support::GuiApplication();
  TestSupport::CScratchDir folder;
  Support::WriteBytes(
      folder.Path() + "/Pads64.bmp",
      Support::ReadBytes(Support::AppDirectory() + "/Bitmap/Pads64.bmp").substr(0, 1000));
  struct {
    std::string folder, said;
  } const cases[] = {
      {"/nonexistent/Bitmap/",
       "FSPathMakeFSSpec() failed: error=-43, path=/nonexistent/Bitmap/Pads64.bmp\n"},
      {folder.Path() + "/", "BMP file truncated: size=1000, needed="},
  };
  for (auto const& c : cases) {
    UL::CStateBitmapFactory factory(c.folder);
    boost::shared_ptr<UL::AStateBitmap> bitmap = factory.Create("Pads64", 64, false, false);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(bitmap->Create(factory.GetDirectoryPathName()));
    std::string const said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(said.find(c.said) == 0 && said.find('\n') == said.size() - 1) << said;
    CCanvas canvas;
    canvas.resize(50, 50);
    canvas.mDraw = [&](UL::CDrawInfo const& info) {
      bitmap->DrawState(info, GT::CPointT<long>(0, 0), 0);
    };
    QImage const shot = canvas.grab().toImage();
    EXPECT_EQ(qRgb(255, 255, 255), shot.pixel(0, 0));
    EXPECT_EQ(0, bitmap->GetStateSize().width);
  }
}

TEST(StatePicture, TheBuildDrawsEveryPadStateDistinctly) {
  Support::GuiApplication();
  UL::CStateBitmapFactory factory(Support::AppDirectory() + "/Bitmap/");
  boost::shared_ptr<UL::AStateBitmap> pads = factory.Create("Pads64", 64, false, false);
  boost::shared_ptr<UL::AStateBitmap> panel = factory.Create("Background", 1, false, false);
  ASSERT_TRUE(pads->Create(factory.GetDirectoryPathName()));
  ASSERT_TRUE(panel->Create(factory.GetDirectoryPathName()));
  // The panel holds the 4 x 4 pads with an offset of 5 and gaps of 10.
  long const cell = pads->GetStateSize().width;
  EXPECT_EQ(cell, pads->GetStateSize().height);
  EXPECT_EQ(5 + 4 * cell + 3 * 10 + 5, panel->GetSize().width);

  QImage const strip(QString::fromStdString(factory.GetDirectoryPathName() + "Pads64.bmp"));
  std::set<QByteArray> cells;
  for (int state = 0; state < 64; ++state) {
    QImage const one = strip.copy(0, state * static_cast<int>(cell), static_cast<int>(cell),
                                  static_cast<int>(cell));
    cells.insert(QByteArray(reinterpret_cast<char const*>(one.constBits()),
                            static_cast<int>(one.sizeInBytes())));
  }
  EXPECT_EQ(64u, cells.size());
}

}  // namespace
