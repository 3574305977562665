// Draws the program's pictures as BMP files into the folder given:
// "Background" (the pad matrix's panel), "Pads64" (64 pad looks in one
// vertical strip: 16 pads x plain, assigned, focused, focused and assigned)
// and "App" (the About box icon). Flat colours and segment digits, so the
// result never depends on the fonts of the build machine.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>

namespace {

int const nCell = 64;    // one pad
int const nPanel = 296;  // 5 + 4 x 64 + 3 x 10 + 5
int const nIcon = 64;

// Segments a to g of the digits 0 to 9, bit 0 = a.
unsigned char const nSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void DrawDigit(QPainter& p, int digit, int x, int y, int w, int h, QColor const& colour) {
  int const t = 3;  // stroke
  int const half = h / 2;
  QRect const segments[7] = {
      QRect(x + t, y, w - 2 * t, t),                    // a
      QRect(x + w - t, y + t, t, half - t),             // b
      QRect(x + w - t, y + half + 1, t, half - t - 1),  // c
      QRect(x + t, y + h - t, w - 2 * t, t),            // d
      QRect(x, y + half + 1, t, half - t - 1),          // e
      QRect(x, y + t, t, half - t),                     // f
      QRect(x + t, y + half - 1, w - 2 * t, t),         // g
  };
  for (int s = 0; s < 7; ++s)
    if (nSegments[digit] & (1 << s)) p.fillRect(segments[s], colour);
}

void DrawNumber(QPainter& p, int number, QRect const& cell, QColor const& colour) {
  int const w = 12, h = 22, gap = 4;
  if (number >= 10) {
    int const x = cell.center().x() - w - gap / 2;
    DrawDigit(p, number / 10, x, cell.center().y() - h / 2, w, h, colour);
    DrawDigit(p, number % 10, x + w + gap, cell.center().y() - h / 2, w, h, colour);
  } else {
    DrawDigit(p, number, cell.center().x() - w / 2, cell.center().y() - h / 2, w, h, colour);
  }
}

// Look 0 plain, 1 assigned, 2 focused, 3 focused and assigned.
void DrawPad(QPainter& p, QRect const& cell, int pad, int look) {
  bool const assigned = look & 1;
  bool const focused = look & 2;
  p.fillRect(cell, QColor(0x2B, 0x2B, 0x2B));
  QRect const body = cell.adjusted(2, 2, -2, -2);
  p.fillRect(body, focused ? QColor(0x4F, 0xB3, 0xFF) : QColor(0x3C, 0x3C, 0x3C));
  QRect const face = body.adjusted(4, 4, -4, -4);
  p.fillRect(face, assigned ? QColor(0xD8, 0x7A, 0x1E) : QColor(0x5A, 0x5A, 0x5A));
  QColor const digits = assigned ? QColor(0xFF, 0xF4, 0xE0) : QColor(0xA8, 0xA8, 0xA8);
  DrawNumber(p, pad + 1, face, digits);
}

bool Save(QImage const& image, QString const& folder, char const* name) {
  QString const path = folder + "/" + name + ".bmp";
  if (image.save(path, "BMP")) return true;
  std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  QString const folder = QString::fromLocal8Bit(argv[1]);

  QImage pads(nCell, nCell * 64, QImage::Format_RGB32);
  {
    QPainter p(&pads);
    for (int state = 0; state < 64; ++state)
      DrawPad(p, QRect(0, state * nCell, nCell, nCell), state % 16, state / 16);
  }

  QImage panel(nPanel, nPanel, QImage::Format_RGB32);
  {
    QPainter p(&panel);
    p.fillRect(panel.rect(), QColor(0x1E, 0x1E, 0x1E));
    p.fillRect(panel.rect().adjusted(2, 2, -2, -2), QColor(0x2B, 0x2B, 0x2B));
  }

  QImage icon(nIcon, nIcon, QImage::Format_RGB32);
  {
    QPainter p(&icon);
    p.fillRect(icon.rect(), QColor(0x2B, 0x2B, 0x2B));
    for (int row = 0; row < 4; ++row)
      for (int column = 0; column < 4; ++column) {
        bool const lit = (row + column) % 3 == 0;
        p.fillRect(QRect(4 + column * 15, 4 + row * 15, 12, 12),
                   lit ? QColor(0xD8, 0x7A, 0x1E) : QColor(0x5A, 0x5A, 0x5A));
      }
  }

  bool const ok = Save(pads, folder, "Pads64") && Save(panel, folder, "Background") &&
                  Save(icon, folder, "App");
  return ok ? 0 : 1;
}
