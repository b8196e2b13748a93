// Draws the window's fixed pictures: the twelve men, the board, the capture mark and the
// empty-square cursor. They are generated rather than drawn by hand so that they can be made
// again, at the same sizes, whenever the look changes.
//
// Usage: render-pictures [--preview] <folder>
//   writes <folder>/men/man01.png .. man12.png with man01.svg .. man12.svg, board.png,
//   markx.png and nofield.png;
//   --preview also writes preview.png, the board with every man on both square colours.
// Run it with QT_QPA_PLATFORM=offscreen; it needs no display.

#include "app/drawing.h"
#include "engine/man_codes.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QSvgGenerator>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr int kManSize = 32;
// Everything small is drawn 16 times larger and halved four times: the halving averages
// 256 samples per pixel, which gives clean edges without any hinting of the glyphs.
constexpr int kOversample = 16;
constexpr int kHiSize = kManSize * kOversample;

constexpr int kSquare = drawing::kDesignSquare;
constexpr int kBoardSize = drawing::BoardSize(kSquare);

// One kind of man: its glyphs and the height it gets in the 32-pixel picture. The heights
// follow a real set (king tallest, pawn smallest); every man stands on the same bottom row.
struct Kind {
  engine::ManCode white;
  char32_t outlineGlyph; // the white man's glyph: an outline with holes
  char32_t solidGlyph;   // the black man's glyph: solid, its detail lines cut out
  double height;         // in pixels, at most 30
};

constexpr std::array<Kind, 6> kKinds{{
    {engine::kWhitePawn, U'\u2659', U'\u265F', 24.0},
    {engine::kWhiteRook, U'\u2656', U'\u265C', 26.0},
    {engine::kWhiteKnight, U'\u2658', U'\u265E', 28.0},
    {engine::kWhiteBishop, U'\u2657', U'\u265D', 29.0},
    {engine::kWhiteQueen, U'\u2655', U'\u265B', 30.0},
    {engine::kWhiteKing, U'\u2654', U'\u265A', 30.0},
}};
constexpr int kBlackOffset = engine::kBlackPawn - engine::kWhitePawn;

QString loadFamily(const QStringList &files, const QString &fallbackFamily) {
  for (const QString &file : files) {
    const int id = QFontDatabase::addApplicationFont(file);
    if (id >= 0)
      return QFontDatabase::applicationFontFamilies(id).value(0);
  }
  return fallbackFamily;
}

// The glyph font must really hold the chess glyphs: a silent fallback to another font would
// mix two designs in one set.
QFont glyphFont() {
  const QStringList candidates{
      loadFamily({"/usr/share/fonts/truetype/freefont/FreeSerif.ttf",
                  "/usr/share/fonts/opentype/freefont/FreeSerif.otf"},
                 "FreeSerif"),
      loadFamily({"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"}, "DejaVu Sans")};
  for (const QString &family : candidates) {
    QFont font(family);
    font.setPixelSize(1000);
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font);
    if (std::all_of(kKinds.begin(), kKinds.end(), [&](const Kind &kind) {
          return metrics.inFontUcs4(kind.outlineGlyph) && metrics.inFontUcs4(kind.solidGlyph);
        }))
      return font;
  }
  qFatal("no font with the chess glyphs (install fonts-freefont-ttf or fonts-dejavu-core)");
}

QPainterPath glyphPath(const QFont &font, char32_t glyph) {
  QPainterPath path;
  path.addText(0, 0, font, QString::fromUcs4(&glyph, 1));
  return path;
}

QImage reduce(QImage image, int size) {
  while (image.width() > size)
    image = image.scaled(image.width() / 2, image.height() / 2, Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
  return image.convertToFormat(QImage::Format_ARGB32);
}

QImage transparentImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// A binary mask: one byte per pixel of the oversampled canvas.
using Mask = std::vector<unsigned char>;

Mask coverage(const QPainterPath &path) {
  QImage image = transparentImage(kHiSize, kHiSize);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(path, Qt::black);
  painter.end();
  Mask mask(kHiSize * kHiSize);
  for (int y = 0; y < kHiSize; ++y) {
    const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    for (int x = 0; x < kHiSize; ++x)
      mask[y * kHiSize + x] = qAlpha(line[x]) >= 128;
  }
  return mask;
}

Mask dilate(const Mask &mask, int radius) {
  Mask grown(mask.size());
  for (int y = 0; y < kHiSize; ++y)
    for (int x = 0; x < kHiSize; ++x) {
      if (!mask[y * kHiSize + x])
        continue;
      for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
          const int u = x + dx, v = y + dy;
          if (dx * dx + dy * dy <= radius * radius && u >= 0 && v >= 0 && u < kHiSize &&
              v < kHiSize)
            grown[v * kHiSize + u] = 1;
        }
    }
  return grown;
}

Mask invert(const Mask &mask) {
  Mask inverse(mask.size());
  std::transform(mask.begin(), mask.end(), inverse.begin(), [](unsigned char m) { return !m; });
  return inverse;
}

// Flood fill from the canvas edge over the pixels the glyph leaves free.
Mask exterior(const Mask &blocked) {
  Mask outside(blocked.size());
  std::vector<int> stack;
  auto visit = [&](int x, int y) {
    const int i = y * kHiSize + x;
    if (!blocked[i] && !outside[i]) {
      outside[i] = 1;
      stack.push_back(i);
    }
  };
  for (int k = 0; k < kHiSize; ++k) {
    visit(k, 0), visit(k, kHiSize - 1), visit(0, k), visit(kHiSize - 1, k);
  }
  while (!stack.empty()) {
    const int i = stack.back(), x = i % kHiSize, y = i / kHiSize;
    stack.pop_back();
    if (x > 0)
      visit(x - 1, y);
    if (x < kHiSize - 1)
      visit(x + 1, y);
    if (y > 0)
      visit(x, y - 1);
    if (y < kHiSize - 1)
      visit(x, y + 1);
  }
  return outside;
}

// Everything the outside cannot reach. The glyph is first grown a little so that a hairline
// gap in its outline does not let the fill leak in; the silhouette is shrunk back by as much
// afterwards, which keeps its contour and only closes such gaps.
Mask silhouette(const QPainterPath &outline, const QPainterPath &solid) {
  constexpr int kCloseRadius = 3; // a fifth of a pixel of the final picture
  Mask glyph = coverage(outline);
  const Mask other = coverage(solid);
  for (std::size_t i = 0; i < glyph.size(); ++i)
    glyph[i] |= other[i];
  const Mask inside = invert(exterior(dilate(glyph, kCloseRadius)));
  Mask shape = invert(dilate(invert(inside), kCloseRadius));
  for (std::size_t i = 0; i < shape.size(); ++i)
    shape[i] |= glyph[i];
  return shape;
}

// A man: the silhouette in white, the glyph in black over it. For the white man the glyph is
// the outline; for the black man it is the solid form, whose cut-out lines then show white.
QImage renderMan(const Mask &shape, const QPainterPath &glyph) {
  QImage image = transparentImage(kHiSize, kHiSize);
  for (int y = 0; y < kHiSize; ++y) {
    auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
    for (int x = 0; x < kHiSize; ++x)
      if (shape[y * kHiSize + x])
        line[x] = qRgba(255, 255, 255, 255);
  }
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(glyph, Qt::black);
  painter.end();
  return reduce(image, kManSize);
}

// Scales and moves both glyphs of a kind alike: the pair's common box is centred across the
// picture and its foot stands one pixel above the bottom edge. The box is made a whole number
// of pixels wide and put on a pixel boundary, so that its outermost edges come out sharp.
QTransform placement(const Kind &kind, const QRectF &box) {
  const double fit = std::min(kind.height * kOversample / box.height(),
                              (kManSize - 2) * kOversample / box.width());
  int width = int(std::lround(box.width() * fit / kOversample));
  while (box.height() * width / box.width() > kind.height + 0.5 || width > kManSize - 2)
    --width;
  const double scale = width * kOversample / box.width();
  QTransform transform;
  transform.translate((kManSize - width) / 2 * kOversample, (kManSize - 1) * kOversample);
  transform.scale(scale, scale);
  transform.translate(-box.left(), -box.bottom());
  return transform;
}

// Each contour of a path on its own, curves kept: filled one by one they cover the holes too.
std::vector<QPainterPath> contours(const QPainterPath &path) {
  std::vector<QPainterPath> parts;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (e.isMoveTo()) {
      parts.emplace_back(QPointF(e));
    } else if (e.isLineTo()) {
      parts.back().lineTo(e);
    } else if (e.isCurveTo()) {
      parts.back().cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
      i += 2;
    }
  }
  return parts;
}

// The vector man: the silhouette, every contour of both glyphs filled white, and the glyph in
// black over it; the window draws it at any size other than the design's.
bool saveVectorMan(const QPainterPath &whiteMan, const QPainterPath &blackMan, bool black,
                   const QString &path) {
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(QSize(kManSize, kManSize));
  svg.setViewBox(QRect(0, 0, kManSize, kManSize));
  QPainter painter;
  if (!painter.begin(&svg)) {
    QTextStream(stderr) << "render-pictures: cannot write " << path << '\n';
    return false;
  }
  painter.scale(1.0 / kOversample, 1.0 / kOversample);
  for (const QPainterPath *glyph : {&whiteMan, &blackMan})
    for (const QPainterPath &contour : contours(*glyph))
      painter.fillPath(contour, Qt::white);
  painter.fillPath(black ? blackMan : whiteMan, Qt::black);
  painter.end();
  QTextStream(stdout) << path << " (vector)\n";
  return true;
}

// The men as pictures of the design size and, into `folder` when it is given, as vectors.
std::array<QImage, 12> renderMen(const QDir *folder, bool &ok) {
  const QFont font = glyphFont();
  std::array<QImage, 12> men;
  for (const Kind &kind : kKinds) {
    const QPainterPath outline = glyphPath(font, kind.outlineGlyph);
    const QPainterPath solid = glyphPath(font, kind.solidGlyph);
    const QTransform transform =
        placement(kind, outline.boundingRect().united(solid.boundingRect()));
    const QPainterPath whiteMan = transform.map(outline);
    const QPainterPath blackMan = transform.map(solid);
    // Both men of a kind share one silhouette, taken from both glyphs together.
    const Mask shape = silhouette(whiteMan, blackMan);
    const int black = kind.white + kBlackOffset;
    men[kind.white - 1] = renderMan(shape, whiteMan);
    men[black - 1] = renderMan(shape, blackMan);
    if (folder != nullptr) {
      ok &= saveVectorMan(
          whiteMan, blackMan, false,
          folder->filePath(QString("men/man%1.svg").arg(kind.white, 2, 10, QChar('0'))));
      ok &= saveVectorMan(whiteMan, blackMan, true,
                          folder->filePath(QString("men/man%1.svg").arg(black, 2, 10, QChar('0'))));
    }
  }
  return men;
}

QImage renderBoard() {
  QImage image(kBoardSize, kBoardSize, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  drawing::PaintBoard(painter, kSquare);
  painter.end();
  return image.convertToFormat(QImage::Format_RGB32);
}

// The capture mark, drawn large and reduced like the men.
QImage renderMarkX() { return reduce(drawing::CaptureMark(kHiSize), kManSize); }

// The empty-square tool: the classic arrow inside a dotted square, drawn pixel by pixel so
// that its tip, the cursor's hot spot, lies exactly on (10, 6).
QImage renderNoField() {
  static const char *const kArrow[] = {
      "X",         "XX",        "X.X",        "X..X",        "X...X",     "X....X",   "X.....X",
      "X......X",  "X.......X", "X........X", "X.....XXXXX", "X..X..X",   "X.X X..X", "XX  X..X",
      "X    X..X", "     X..X", "      X..X", "      X..X",  "       XX",
  };
  constexpr int kTipX = 10, kTipY = 6;
  constexpr int kFrom = 4, kTo = 27; // the dotted square, 24 pixels a side

  QImage image(kManSize, kManSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  const QRgb black = qRgba(0, 0, 0, 255), white = qRgba(255, 255, 255, 255);
  for (int k = kFrom; k <= kTo; k += 2) {
    image.setPixel(k, kFrom, black);
    image.setPixel(k, kTo, black);
    image.setPixel(kFrom, k, black);
    image.setPixel(kTo, k, black);
  }
  for (int row = 0; row < int(std::size(kArrow)); ++row)
    for (int column = 0; kArrow[row][column] != '\0'; ++column) {
      const char c = kArrow[row][column];
      if (c != ' ')
        image.setPixel(kTipX + column, kTipY + row, c == 'X' ? black : white);
    }
  return image;
}

// The board with the opening position on ranks 1, 2, 7 and 8 and every man once on a dark and
// once on a light square on ranks 3 to 6, a capture mark and the empty-square tool, beside the
// piece box as the window lays it out.
QImage renderPreview(const QImage &board, const std::array<QImage, 12> &men, const QImage &markX,
                     const QImage &noField) {
  QImage sheet(kBoardSize + 16 + 190 + 16, kBoardSize + 16, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(QColor(0xd4, 0xd0, 0xc8));
  QPainter painter(&sheet);
  painter.drawImage(8, 8, board);
  auto at = [&](int file, int rank, const QImage &picture) {
    painter.drawImage(8 + 20 + 40 * file, 8 + 300 - 40 * rank, picture);
  };
  const int backRank[8] = {engine::kWhiteRook,   engine::kWhiteKnight, engine::kWhiteBishop,
                           engine::kWhiteQueen,  engine::kWhiteKing,   engine::kWhiteBishop,
                           engine::kWhiteKnight, engine::kWhiteRook};
  for (int file = 0; file < 8; ++file) {
    at(file, 0, men[backRank[file] - 1]);
    at(file, 1, men[engine::kWhitePawn - 1]);
    at(file, 6, men[engine::kBlackPawn - 1]);
    at(file, 7, men[backRank[file] + kBlackOffset - 1]);
  }
  for (int k = 0; k < 6; ++k) {
    at(k, 2, men[k]);
    at(k, 3, men[k]);
    at(k, 4, men[k + kBlackOffset]);
    at(k, 5, men[k + kBlackOffset]);
  }
  at(6, 3, men[engine::kWhiteQueen - 1]);
  at(6, 3, markX);
  at(6, 4, men[engine::kBlackKnight - 1]);
  at(6, 4, markX);
  at(7, 2, noField);
  at(7, 5, noField);

  const int chestX = kBoardSize + 24, chestY = 8;
  painter.fillRect(chestX, chestY, 190, 114, QColor(0x80, 0x80, 0x80));
  for (int k = 0; k < 12; ++k)
    painter.drawImage(chestX + 3 + 38 * (k / 3), chestY + 79 - 38 * (k % 3), men[k]);
  painter.drawImage(chestX + 155, chestY + 41, noField);
  painter.end();
  return sheet;
}

bool save(const QImage &image, const QString &path) {
  if (!image.save(path, "PNG")) {
    QTextStream(stderr) << "render-pictures: cannot write " << path << '\n';
    return false;
  }
  QTextStream(stdout) << path << " (" << image.width() << " x " << image.height() << ")\n";
  return true;
}

} // namespace

int main(int argc, char *argv[]) {
  QGuiApplication app(argc, argv);
  QStringList arguments = QGuiApplication::arguments().mid(1);
  const bool preview = arguments.removeAll("--preview") > 0;
  if (arguments.size() != 1) {
    QTextStream(stderr) << "usage: render-pictures [--preview] <folder>\n";
    return 2;
  }
  const QDir folder(arguments.front());
  if (!folder.mkpath("men")) {
    QTextStream(stderr) << "render-pictures: cannot create " << folder.filePath("men") << '\n';
    return 1;
  }

  bool ok = true;
  const std::array<QImage, 12> men = renderMen(&folder, ok);
  const QImage board = renderBoard(), markX = renderMarkX(), noField = renderNoField();
  for (int code = 1; code <= 12; ++code)
    ok &=
        save(men[code - 1], folder.filePath(QString("men/man%1.png").arg(code, 2, 10, QChar('0'))));
  ok &= save(board, folder.filePath("board.png"));
  ok &= save(markX, folder.filePath("markx.png"));
  ok &= save(noField, folder.filePath("nofield.png"));
  if (preview)
    ok &= save(renderPreview(board, men, markX, noField), folder.filePath("preview.png"));
  return ok ? 0 : 1;
}
