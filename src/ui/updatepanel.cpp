#include "ui/updatepanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "net/httpcli.h"
#include "ui/htmldelegate.h"

namespace qs {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

TUpdatePanel::TUpdatePanel(TDatabaseUpdate& update, QWidget* parent) : QWidget(parent), model_(update) {
  setObjectName(QStringLiteral("UpdatePanel"));
  hint_ = new QLabel(this);
  hint_->setWordWrap(true);
  update_ = new QPushButton(this);
  update_->setObjectName(QStringLiteral("Update"));
  update_->setAutoDefault(false);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("UpdateProgress"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setVisible(false);
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("UpdateTree"));
  tree_->setHeaderHidden(true);
  tree_->setItemDelegate(new THtmlDelegate(tree_));
  databasesCaption_ = new QLabel(this);
  databases_ = new QLabel(this);
  softwareCaption_ = new QLabel(this);
  software_ = new QLabel(this);

  auto* dates = new QGridLayout;
  dates->addWidget(databasesCaption_, 0, 0);
  dates->addWidget(databases_, 0, 1);
  dates->addWidget(softwareCaption_, 1, 0);
  dates->addWidget(software_, 1, 1);
  dates->setColumnStretch(2, 1);
  auto* command = new QHBoxLayout;
  command->addWidget(update_);
  command->addWidget(progress_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(hint_);
  layout->addLayout(command);
  layout->addWidget(tree_, 1);
  layout->addLayout(dates);

  connect(update_, &QPushButton::clicked, this, &TUpdatePanel::StartUpdate);
  TUpdateTree& tree = model_.Tree();
  tree.OnBuild = [this] { Build(); };
  tree.OnTextChange = [this](TUpdateTree::TChild child, bool progress) {
    if (QTreeWidgetItem* root = tree_->topLevelItem(0))
      if (QTreeWidgetItem* item = root->child(int(child))) item->setText(0, Q(model_.Tree().Child(child).text));
    if (progress) ShowProgress();
  };
  tree.OnLineAdded = [this](TUpdateTree::TChild child, size_t line) {
    QTreeWidgetItem* root = tree_->topLevelItem(0);
    QTreeWidgetItem* item = root ? root->child(int(child)) : nullptr;
    if (!item) return;
    new QTreeWidgetItem(item, QStringList{Q(model_.Tree().Child(child).lines[line].Html())});
    tree_->expandAll();
  };
  model_.OnBusyChange = [this] {
    update_->setEnabled(!model_.Busy());
    if (!model_.Busy()) progress_->setVisible(false);
  };
  model_.OnDatesChange = [this] { ShowDates(); };
  model_.OnFinished = [this](bool ok) {
    progress_->setVisible(false);
    emit finished(ok);
  };
  ShowDates();
}

TUpdatePanel::~TUpdatePanel() {
  TUpdateTree& tree = model_.Tree();
  tree.OnBuild = nullptr;
  tree.OnTextChange = nullptr;
  tree.OnLineAdded = nullptr;
  model_.OnBusyChange = nullptr;
  model_.OnDatesChange = nullptr;
  model_.OnFinished = nullptr;
}

void TUpdatePanel::StartUpdate() { model_.Update(); }

void TUpdatePanel::Build() {
  const TUpdateTree& tree = model_.Tree();
  tree_->clear();
  auto* root = new QTreeWidgetItem(tree_, QStringList{Q(tree.Root())});
  for (auto child : {TUpdateTree::Status, TUpdateTree::Databases, TUpdateTree::Software}) {
    auto* item = new QTreeWidgetItem(root, QStringList{Q(tree.Child(child).text)});
    for (const TUpdateLine& line : tree.Child(child).lines) new QTreeWidgetItem(item, QStringList{Q(line.Html())});
  }
  tree_->expandAll();
}

void TUpdatePanel::ShowProgress() {
  // The download under way: its bytes against the length its answer announced, or a busy
  // bar when none was announced.
  THttpCli& http = model_.HttpUpdate();
  const int64_t length = http.ContentLength();
  progress_->setVisible(true);
  if (length > 0) {
    progress_->setRange(0, 1000);
    progress_->setValue(int(std::min<int64_t>(1000, http.RcvdCount() * 1000 / length)));
  } else {
    progress_->setRange(0, 0);
  }
}

void TUpdatePanel::ShowDates() {
  databases_->setText(Q(model_.DatabasesUpdated()));
  software_->setText(Q(model_.SoftwareUpdated()));
}

void TUpdatePanel::ApplyTable(const TLanguageTable& table) {
  hint_->setText(Q(table.Lookup("307")));
  update_->setText(Q(table.Lookup("302")));
  databasesCaption_->setText(Q(table.Lookup("304")));
  softwareCaption_->setText(Q(table.Lookup("306")));
}

}  // namespace qs
