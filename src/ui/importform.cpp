#include "ui/importform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/htmldelegate.h"

namespace qs {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

TImportProjects::TImportProjects(TImportMonitor& monitor, QWidget* parent)
    : QDialog(parent), monitor_(monitor) {
  setObjectName(QStringLiteral("ImportProjects"));
  setModal(false);
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("ImportTree"));
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(false);
  auto* treeDelegate = new THtmlDelegate(tree_);
  tree_->setItemDelegate(treeDelegate);
  connect(treeDelegate, &THtmlDelegate::linkActivated, this,
          [this](const QString& href, const QModelIndex& index) {
            const QModelIndex top = index.parent().isValid() ? index.parent() : index;
            ClickLink(static_cast<size_t>(top.row()), href);
          });
  log_ = new QListWidget(this);
  log_->setObjectName(QStringLiteral("ImportLog"));
  log_->setItemDelegate(new THtmlDelegate(log_));
  statusCaption_ = new QLabel(this);
  foundCaption_ = new QLabel(this);
  spideredCaption_ = new QLabel(this);
  found_ = new QLCDNumber(6, this);
  spidered_ = new QLCDNumber(6, this);
  for (QLCDNumber* n : {found_, spidered_}) {
    // Solid segments in the text colour: the shaded ones read as faint outlines on a light
    // ground.
    n->setSegmentStyle(QLCDNumber::Flat);
    n->setFixedSize(90, 30);
    n->setStyleSheet(QStringLiteral("QLCDNumber { color: #102a43; background: transparent; }"));
  }
  stop_ = new QPushButton(this);
  stop_->setObjectName(QStringLiteral("Stop"));
  close_ = new QPushButton(this);
  close_->setObjectName(QStringLiteral("Close"));

  auto* counters = new QGridLayout;
  counters->addWidget(foundCaption_, 0, 0);
  counters->addWidget(found_, 0, 1);
  counters->addWidget(spideredCaption_, 1, 0);
  counters->addWidget(spidered_, 1, 1);
  auto* side = new QVBoxLayout;
  side->addLayout(counters);
  side->addWidget(statusCaption_);
  side->addWidget(log_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(stop_);
  buttons->addWidget(close_);
  side->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(tree_, 3);
  layout->addLayout(side, 2);
  resize(900, 520);

  connect(stop_, &QPushButton::clicked, this, [this] { monitor_.Stop(); });
  connect(close_, &QPushButton::clicked, this, &QDialog::hide);  // the import goes on
  stop_->setEnabled(monitor_.StopEnabled());

  monitor_.OnShow = [this] {
    show();
    raise();
  };
  monitor_.OnStopEnabledChange = [this](bool enabled) { stop_->setEnabled(enabled); };
  monitor_.OnCountersChange = [this] {
    found_->display(int(monitor_.UrlsFound()));
    spidered_->display(int(monitor_.UrlsSpidered()));
  };
  monitor_.OnImportEnded = [this](TImportEnd) {
    if (OnProjectsChanged) OnProjectsChanged();
  };
  monitor_.Tree().OnClear = [this] { tree_->clear(); };
  monitor_.Tree().OnNodeAdded = [this](size_t node) { NodeAdded(node); };
  monitor_.Tree().OnLineChange = [this](size_t node, TImportLine line) { LineChanged(node, line); };
  monitor_.Tree().OnNodeExpanded = [this](size_t node) {
    if (QTreeWidgetItem* item = tree_->topLevelItem(int(node))) item->setExpanded(true);
  };
  monitor_.Log().OnChange = [this](size_t removed, const std::string& added) {
    for (size_t i = 0; i < removed && log_->count() > 0; ++i) delete log_->takeItem(0);
    log_->addItem(Q(added));
    log_->scrollToBottom();
  };
}

void TImportProjects::NodeAdded(size_t node) {
  const TImportNode& n = monitor_.Tree().Node(node);
  auto* item = new QTreeWidgetItem(tree_, QStringList{Q(n.url)});
  for (const std::string& line : n.lines) new QTreeWidgetItem(item, QStringList{Q(line)});
  item->setExpanded(n.expanded);
}

void TImportProjects::LineChanged(size_t node, TImportLine line) {
  QTreeWidgetItem* item = tree_->topLevelItem(int(node));
  if (!item || int(line) >= item->childCount()) return;
  item->child(int(line))->setText(0, Q(monitor_.Tree().Node(node).lines[line]));
}

void TImportProjects::ClickLink(size_t node, const QString& href) {
  if (monitor_.LinkClicked(node, href.toStdString()) && OnProjectsChanged) OnProjectsChanged();
}

int TImportProjects::UrlsFound() const { return found_->intValue(); }
int TImportProjects::UrlsSpidered() const { return spidered_->intValue(); }

void TImportProjects::ApplyTable(const TLanguageTable& table) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  setWindowTitle(t("36"));
  statusCaption_->setText(t("32"));
  foundCaption_->setText(t("33"));
  spideredCaption_->setText(t("34"));
  close_->setText(t("35"));
  stop_->setText(t("37"));
}

}  // namespace qs
