#include "ui/runqueuemodel.h"

namespace qs {

namespace {
// Internal id of a node's index; a line's index carries its entry's row + 1.
constexpr quintptr kEntryNode = 0;
}  // namespace

TRunQueueModel::TRunQueueModel(const TRunControl& run, QObject* parent)
    : QAbstractItemModel(parent), run_(run), shownEntries_(int(run.Queue().Entries().size())) {
  for (const RunEntry& e : run.Queue().Entries()) shownStates_.push_back(e.state);
  counts_.setSingleShot(true);
  counts_.setInterval(kCountsMs);
  connect(&counts_, &QTimer::timeout, this, &TRunQueueModel::AnnounceLines);
}

void TRunQueueModel::Refresh() {
  const auto& entries = run_.Queue().Entries();
  std::vector<TEntryState> states;
  for (const RunEntry& e : entries) states.push_back(e.state);
  if (int(entries.size()) != shownEntries_) {
    counts_.stop();
    beginResetModel();
    shownEntries_ = int(entries.size());
    shownStates_ = std::move(states);
    endResetModel();
    emit entriesReset();
    return;
  }
  if (states != shownStates_) {
    shownStates_ = std::move(states);
    AnnounceLines();
  } else if (!counts_.isActive()) {
    counts_.start();
  }
}

void TRunQueueModel::AnnounceLines() {
  counts_.stop();
  if (shownEntries_ == 0) return;
  emit dataChanged(index(0, 0), index(shownEntries_ - 1, 0));
  for (int e = 0; e < shownEntries_; ++e) {
    const QModelIndex node = index(e, 0);
    emit dataChanged(index(0, 0, node), index(kEntryLines - 1, 0, node));
  }
}

QModelIndex TRunQueueModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return row < shownEntries_ ? createIndex(row, 0, kEntryNode) : QModelIndex();
  if (parent.internalId() != kEntryNode || row >= kEntryLines) return {};
  return createIndex(row, 0, quintptr(parent.row()) + 1);
}

QModelIndex TRunQueueModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == kEntryNode) return {};
  return createIndex(int(child.internalId() - 1), 0, kEntryNode);
}

int TRunQueueModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return shownEntries_;
  return parent.internalId() == kEntryNode ? kEntryLines : 0;
}

int TRunQueueModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TRunQueueModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  const auto& entries = run_.Queue().Entries();
  if (index.internalId() == kEntryNode) {
    if (size_t(index.row()) >= entries.size()) return {};
    return QString::fromStdString(entries[size_t(index.row())].DisplayText());
  }
  const size_t entry = index.internalId() - 1;
  if (entry >= entries.size()) return {};
  return QString::fromStdString(entries[entry].lines[size_t(index.row())]);
}

}  // namespace qs
