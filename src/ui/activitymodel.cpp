#include "ui/activitymodel.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace qs {

namespace {

QPixmap DrawState(TRowImage image) {
  constexpr int kSize = 16;
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  if (image == TRowImage::None) return pixmap;
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF disc(1.5, 1.5, kSize - 3, kSize - 3);
  QPen mark(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  switch (image) {
    case TRowImage::UnderWay:  // a blue disc with an arrow going out
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x2f, 0x6f, 0xc8));
      p.drawEllipse(disc);
      p.setPen(mark);
      p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
      p.drawLine(QPointF(8.5, 5), QPointF(11.5, 8));
      p.drawLine(QPointF(8.5, 11), QPointF(11.5, 8));
      break;
    case TRowImage::Ok: {  // a green disc with a tick
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x2e, 0x9d, 0x3a));
      p.drawEllipse(disc);
      p.setPen(mark);
      QPainterPath tick;
      tick.moveTo(4.5, 8.5);
      tick.lineTo(7, 11);
      tick.lineTo(11.5, 5.5);
      p.setBrush(Qt::NoBrush);
      p.drawPath(tick);
      break;
    }
    case TRowImage::TimedOut:  // an amber clock
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xe0, 0x9a, 0x10));
      p.drawEllipse(disc);
      p.setPen(mark);
      p.drawLine(QPointF(8, 8), QPointF(8, 4.5));
      p.drawLine(QPointF(8, 8), QPointF(10.5, 9.5));
      break;
    case TRowImage::Failed:  // a red disc with a cross
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xc8, 0x2b, 0x2b));
      p.drawEllipse(disc);
      p.setPen(mark);
      p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
      p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
      break;
    case TRowImage::Skipped:  // a grey disc with a bar
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x9a, 0x9a, 0x9a));
      p.drawEllipse(disc);
      p.setPen(mark);
      p.drawLine(QPointF(5, 8), QPointF(11, 8));
      break;
    case TRowImage::None:
      break;
  }
  return pixmap;
}

}  // namespace

TActivityModel::TActivityModel(const TRunControl& run, QObject* parent)
    : QAbstractTableModel(parent), run_(run), shown_(int(run.Rows().size())), added_(shown_) {
  flush_.setSingleShot(true);
  flush_.setInterval(kFlushMs);
  connect(&flush_, &QTimer::timeout, this, &TActivityModel::Flush);
}

QIcon TActivityModel::StateIcon(TRowImage image) {
  static const std::array<QIcon, 6> icons = [] {
    std::array<QIcon, 6> all;
    for (int i = -1; i <= 4; ++i) all[size_t(i + 1)] = QIcon(DrawState(static_cast<TRowImage>(i)));
    return all;
  }();
  return icons[size_t(int(image) + 1)];
}

void TActivityModel::RowAdded(size_t row) {
  added_ = std::max(added_, int(row) + 1);
  if (!flush_.isActive()) flush_.start();
}

void TActivityModel::RowDecided(size_t row) {
  const int r = int(row);
  if (r >= shown_) return;  // announced with its result when it is inserted
  decidedFirst_ = decidedFirst_ < 0 ? r : std::min(decidedFirst_, r);
  decidedLast_ = std::max(decidedLast_, r);
  if (!flush_.isActive()) flush_.start();
}

void TActivityModel::Flush() {
  flush_.stop();
  const int rows = std::min(added_, int(run_.Rows().size()));
  if (decidedFirst_ >= 0 && decidedFirst_ < shown_)
    emit dataChanged(index(decidedFirst_, 0), index(std::min(decidedLast_, shown_ - 1), kColumns - 1));
  decidedFirst_ = decidedLast_ = -1;
  if (rows > shown_) {
    beginInsertRows({}, shown_, rows - 1);
    shown_ = rows;
    endInsertRows();
  }
}

void TActivityModel::RowsCleared() {
  flush_.stop();
  beginResetModel();
  shown_ = added_ = int(run_.Rows().size());
  decidedFirst_ = decidedLast_ = -1;
  endResetModel();
}

void TActivityModel::ApplyTable(const TLanguageTable& table) {
  static constexpr const char* kKeys[kColumns] = {"187", "188", "189", "190", "191"};
  for (int c = 0; c < kColumns; ++c) captions_[size_t(c)] = QString::fromStdString(table.Lookup(kKeys[c]));
  emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

int TActivityModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

int TActivityModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant TActivityModel::data(const QModelIndex& index, int role) const {
  const auto& rows = run_.Rows();
  if (!index.isValid() || index.row() >= shown_ || size_t(index.row()) >= rows.size()) return {};
  const ActivityRow& r = rows[size_t(index.row())];
  if (role == Qt::DecorationRole && index.column() == kEngines) return StateIcon(r.image);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  switch (index.column()) {
    case kEngines: return QString::fromStdString(r.engine);
    case kUrl: return QString::fromStdString(r.url);
    case kResult: return QString::fromStdString(r.result);
    case kDate: return QString::fromStdString(r.date);
    case kType: return QString::fromStdString(r.type);
    default: return {};
  }
}

QVariant TActivityModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns)
    return QAbstractTableModel::headerData(section, orientation, role);
  return captions_[size_t(section)];
}

}  // namespace qs
