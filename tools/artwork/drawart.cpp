// Draws every image of the installation data into the data folder given as the argument:
//   icon.ico                         the program icon, 16, 24, 32, 48, 64 and 256 pixels
//   splash.jpg                       642 x 359, the product name and version
//   tab2on.gif, tab2off.gif          the backgrounds of the selected and the other tabs
//   tray/normal01.png ... 16         the tray clock, one frame per step of its hand
//   tray/scheduled01.png ... 16      the same with the green "scheduled" badge
//   data/doorways/templates/templateN.png   a sketch of each doorway template's layout
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const QColor kDeep(0x24, 0x3b, 0x53);
const QColor kBlue(0x1f, 0x5f, 0x8b);
const QColor kSky(0x5f, 0xa8, 0xd3);
const QColor kSnow(0xf4, 0xf6, 0xf8);
const QColor kGreen(0x2f, 0x9e, 0x44);

QString out;

void Check(bool ok, const QString& what) {
  if (!ok) {
    std::fprintf(stderr, "drawart: cannot write %s\n", qPrintable(what));
    std::exit(1);
  }
}

void WriteBytes(const QString& name, const QByteArray& bytes) {
  QFile f(out + "/" + name);
  Check(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size(), name);
}

// The mark: a summit (two peaks) in a round badge.
void DrawMark(QPainter& p, const QRectF& r) {
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient sky(r.center() - QPointF(0, r.height() * 0.2), r.width() * 0.7);
  sky.setColorAt(0, kSky);
  sky.setColorAt(1, kBlue);
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawEllipse(r);
  QPainterPath clip;
  clip.addEllipse(r);
  p.save();
  p.setClipPath(clip);
  const double w = r.width(), h = r.height(), x = r.left(), y = r.top();
  QPainterPath back;
  back.moveTo(x - w * 0.1, y + h);
  back.lineTo(x + w * 0.30, y + h * 0.42);
  back.lineTo(x + w * 0.52, y + h * 0.70);
  back.lineTo(x + w * 1.1, y + h);
  p.setBrush(QColor(0x9f, 0xb3, 0xc8));
  p.drawPath(back);
  QPainterPath front;
  front.moveTo(x + w * 0.15, y + h);
  front.lineTo(x + w * 0.62, y + h * 0.24);
  front.lineTo(x + w * 1.05, y + h);
  p.setBrush(kDeep);
  p.drawPath(front);
  QPainterPath snow;
  snow.moveTo(x + w * 0.62, y + h * 0.24);
  snow.lineTo(x + w * 0.53, y + h * 0.39);
  snow.lineTo(x + w * 0.60, y + h * 0.36);
  snow.lineTo(x + w * 0.66, y + h * 0.41);
  snow.lineTo(x + w * 0.71, y + h * 0.39);
  snow.closeSubpath();
  p.setBrush(kSnow);
  p.drawPath(snow);
  p.restore();
}

QImage Mark(int size) {
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  const double m = size <= 16 ? 0.0 : size * 0.03;
  DrawMark(p, QRectF(m, m, size - 2 * m, size - 2 * m));
  return img;
}

void Le16(QByteArray& b, unsigned v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); }
void Le32(QByteArray& b, uint32_t v) { Le16(b, v & 0xFFFF); Le16(b, v >> 16); }

// A Windows icon with one image per size: 32-bit DIBs with an AND mask, PNG for 256 pixels.
void WriteIcon() {
  const std::vector<int> sizes{16, 24, 32, 48, 64, 256};
  std::vector<QByteArray> images;
  for (int s : sizes) {
    const QImage img = Mark(s);
    QByteArray data;
    if (s == 256) {
      QBuffer buf(&data);
      buf.open(QIODevice::WriteOnly);
      img.save(&buf, "PNG");
    } else {
      Le32(data, 40);
      Le32(data, s);
      Le32(data, 2 * s);
      Le16(data, 1);
      Le16(data, 32);
      for (int i = 0; i < 6; ++i) Le32(data, 0);
      for (int y = s - 1; y >= 0; --y)
        for (int x = 0; x < s; ++x) Le32(data, img.pixel(x, y));
      const int maskRow = ((s + 31) / 32) * 4;
      for (int y = s - 1; y >= 0; --y) {
        QByteArray row(maskRow, 0);
        for (int x = 0; x < s; ++x)
          if (qAlpha(img.pixel(x, y)) == 0) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        data.append(row);
      }
    }
    images.push_back(data);
  }
  QByteArray ico;
  Le16(ico, 0);
  Le16(ico, 1);
  Le16(ico, unsigned(sizes.size()));
  uint32_t offset = 6 + 16 * uint32_t(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    ico.append(char(sizes[i] == 256 ? 0 : sizes[i])).append(char(sizes[i] == 256 ? 0 : sizes[i]));
    ico.append(char(0)).append(char(0));
    Le16(ico, 1);
    Le16(ico, 32);
    Le32(ico, uint32_t(images[i].size()));
    Le32(ico, offset);
    offset += uint32_t(images[i].size());
  }
  for (const QByteArray& d : images) ico.append(d);
  WriteBytes("icon.ico", ico);
}

void WriteSplash() {
  QImage img(642, 359, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient bg(0, 0, 0, 359);
  bg.setColorAt(0, QColor(0x10, 0x2a, 0x43));
  bg.setColorAt(1, kBlue);
  p.fillRect(img.rect(), bg);
  // Ranges of hills in the lower half.
  const QColor ranges[] = {QColor(0x33, 0x6b, 0x93), QColor(0x24, 0x50, 0x74), QColor(0x17, 0x36, 0x52)};
  for (int layer = 0; layer < 3; ++layer) {
    QPainterPath path;
    path.moveTo(0, 359);
    for (int x = 0; x <= 642; x += 6) {
      const double y = 250 + layer * 28 - 40 * std::sin((x + layer * 140) / 95.0) * std::cos((x - layer * 60) / 210.0);
      path.lineTo(x, y);
    }
    path.lineTo(642, 359);
    path.closeSubpath();
    p.fillPath(path, ranges[layer]);
  }
  DrawMark(p, QRectF(46, 70, 128, 128));
  QFont title("DejaVu Sans", 34, QFont::Bold);
  p.setFont(title);
  p.setPen(kSnow);
  p.drawText(QRectF(196, 82, 420, 60), Qt::AlignLeft | Qt::AlignVCenter, "Quorvex Summit");
  QFont sub("DejaVu Sans", 14);
  p.setFont(sub);
  p.setPen(QColor(0xc8, 0xdc, 0xec));
  p.drawText(QRectF(198, 140, 420, 30), Qt::AlignLeft | Qt::AlignVCenter, "Web site promotion");
  QFont version("DejaVu Sans", 12, QFont::Bold);
  p.setFont(version);
  p.setPen(kSnow);
  p.drawText(QRectF(198, 172, 420, 26), Qt::AlignLeft | Qt::AlignVCenter, "Version 5.5");
  p.end();
  Check(img.save(out + "/splash.jpg", "JPG", 90), "splash.jpg");
}

// GIF with a palette of at most 256 colours; LZW codes of 9 bits, the table cleared before it
// would need 10, so every pixel is one code.
void WriteGif(const QString& name, const QImage& source) {
  const QImage img = source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
  QVector<QRgb> palette = img.colorTable();
  palette.resize(256);
  QByteArray gif("GIF89a");
  Le16(gif, img.width());
  Le16(gif, img.height());
  gif.append(char(0xF7)).append(char(0)).append(char(0));
  for (QRgb c : palette) gif.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
  gif.append(',');
  Le16(gif, 0);
  Le16(gif, 0);
  Le16(gif, img.width());
  Le16(gif, img.height());
  gif.append(char(0));
  gif.append(char(8));
  QByteArray codes;
  uint32_t acc = 0;
  int bits = 0;
  auto put = [&](unsigned code) {
    acc |= code << bits;
    bits += 9;
    while (bits >= 8) {
      codes.append(char(acc & 0xFF));
      acc >>= 8;
      bits -= 8;
    }
  };
  int sinceClear = 0;
  put(256);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      if (sinceClear == 250) {
        put(256);
        sinceClear = 0;
      }
      put(img.pixelIndex(x, y));
      ++sinceClear;
    }
  put(257);
  if (bits > 0) codes.append(char(acc & 0xFF));
  for (int at = 0; at < codes.size(); at += 255) {
    const QByteArray block = codes.mid(at, 255);
    gif.append(char(block.size())).append(block);
  }
  gif.append(char(0));
  gif.append(';');
  WriteBytes(name, gif);
}

void WriteTabs() {
  for (bool on : {true, false}) {
    QImage img(100, 26, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 26);
    g.setColorAt(0, on ? QColor(0xff, 0xff, 0xff) : QColor(0xe4, 0xea, 0xf0));
    g.setColorAt(1, on ? QColor(0xe8, 0xf1, 0xf8) : QColor(0xc9, 0xd4, 0xde));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(0x9f, 0xb3, 0xc8));
    p.drawLine(0, 0, 99, 0);
    p.drawLine(0, 0, 0, 25);
    p.drawLine(99, 0, 99, 25);
    if (on) p.fillRect(QRect(1, 1, 98, 3), kBlue);
    else p.drawLine(0, 25, 99, 25);
    p.end();
    WriteGif(on ? "tab2on.gif" : "tab2off.gif", img);
  }
}

// The tray clock: a round face whose hand makes one turn in 16 frames.
void WriteTray() {
  QDir(out).mkpath("tray");
  for (bool scheduled : {false, true})
    for (int i = 0; i < 16; ++i) {
      QImage img(32, 32, QImage::Format_ARGB32);
      img.fill(Qt::transparent);
      QPainter p(&img);
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(kDeep, 2));
      p.setBrush(kSnow);
      p.drawEllipse(QRectF(2, 2, 28, 28));
      p.setPen(QPen(kBlue, 1.5));
      for (int t = 0; t < 12; t += 3) {
        const double a = t * M_PI / 6;
        p.drawLine(QPointF(16 + 10.5 * std::sin(a), 16 - 10.5 * std::cos(a)),
                   QPointF(16 + 12.5 * std::sin(a), 16 - 12.5 * std::cos(a)));
      }
      const double a = i * 2 * M_PI / 16;
      p.setPen(QPen(scheduled ? kGreen : kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(16, 16), QPointF(16 + 10 * std::sin(a), 16 - 10 * std::cos(a)));
      p.setPen(Qt::NoPen);
      p.setBrush(kDeep);
      p.drawEllipse(QPointF(16, 16), 2, 2);
      if (scheduled) {
        p.setBrush(kGreen);
        p.setPen(QPen(Qt::white, 1.5));
        p.drawEllipse(QRectF(19, 19, 12, 12));
      }
      p.end();
      const QString name = QString("tray/%1%2.png").arg(scheduled ? "scheduled" : "normal").arg(i + 1, 2, 10, QChar('0'));
      Check(img.save(out + "/" + name, "PNG"), name);
    }
}

// Sketches of the eight doorway layouts: title bar (T), navigation (N), text (C), footer (F).
void WriteThumbnails() {
  struct Box {
    double x, y, w, h;
    char kind;
  };
  const std::vector<std::vector<Box>> layouts{
      {{20, 6, 80, 12, 'T'}, {20, 21, 80, 6, 'N'}, {20, 30, 80, 44, 'C'}, {20, 77, 80, 8, 'F'}},
      {{6, 6, 108, 12, 'T'}, {6, 21, 28, 53, 'N'}, {37, 21, 77, 53, 'C'}, {6, 77, 108, 8, 'F'}},
      {{6, 6, 108, 16, 'T'}, {6, 25, 77, 49, 'C'}, {86, 25, 28, 49, 'N'}, {6, 77, 108, 8, 'F'}},
      {{26, 12, 68, 12, 'T'}, {26, 26, 68, 36, 'C'}, {26, 64, 68, 6, 'N'}, {26, 72, 68, 6, 'F'}},
      {{0, 0, 120, 22, 'T'}, {6, 26, 76, 48, 'C'}, {85, 26, 29, 48, 'N'}, {6, 77, 108, 8, 'F'}},
      {{6, 6, 108, 24, 'T'}, {6, 33, 108, 6, 'N'}, {6, 42, 52, 32, 'C'}, {62, 42, 52, 32, 'C'}, {6, 77, 108, 8, 'F'}},
      {{30, 6, 60, 79, 'P'}, {36, 10, 48, 8, 'T'}, {36, 21, 48, 44, 'C'}, {36, 69, 48, 5, 'N'}, {36, 77, 48, 5, 'F'}},
      {{6, 6, 108, 12, 'T'}, {6, 21, 34, 53, 'N'}, {43, 21, 34, 53, 'C'}, {80, 21, 34, 53, 'C'}, {6, 77, 108, 8, 'F'}},
  };
  for (size_t n = 0; n < layouts.size(); ++n) {
    QImage img(120, 90, QImage::Format_RGB32);
    img.fill(QColor(0x33, 0x3d, 0x47));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (const Box& b : layouts[n]) {
      const QRectF r(b.x, b.y, b.w, b.h);
      p.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), 1));
      p.setBrush(b.kind == 'P' ? QColor(0xfa, 0xfa, 0xfa) : Qt::white);
      p.drawRect(r);
      p.setPen(Qt::NoPen);
      if (b.kind == 'T') {
        p.setBrush(QColor(0xe0, 0x31, 0x31));
        p.drawRect(QRectF(b.x + 4, b.y + b.h / 2 - 2, std::min(b.w - 8, 44.0), 4));
      } else if (b.kind == 'N') {
        p.setBrush(kBlue);
        if (b.w > b.h)
          for (double x = b.x + 4; x + 10 < b.x + b.w; x += 14) p.drawRect(QRectF(x, b.y + b.h / 2 - 1, 10, 2));
        else
          for (double y = b.y + 4; y + 2 < b.y + b.h; y += 6) p.drawRect(QRectF(b.x + 3, y, b.w - 10, 2));
      } else if (b.kind == 'C') {
        p.setBrush(QColor(0x9a, 0xa5, 0xb1));
        for (double y = b.y + 4; y + 2 < b.y + b.h; y += 5) p.drawRect(QRectF(b.x + 3, y, b.w - 6, 1.6));
      } else if (b.kind == 'F') {
        p.setBrush(QColor(0x9a, 0xa5, 0xb1));
        p.drawRect(QRectF(b.x + b.w / 2 - 14, b.y + b.h / 2 - 1, 28, 2));
      }
    }
    p.end();
    const QString name = QString("data/doorways/templates/template%1.png").arg(n + 1);
    Check(img.save(out + "/" + name, "PNG"), name);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: drawart DATA-FOLDER\n");
    return 2;
  }
  out = QString::fromLocal8Bit(argv[1]);
  WriteIcon();
  WriteSplash();
  WriteTabs();
  WriteTray();
  WriteThumbnails();
  return 0;
}
