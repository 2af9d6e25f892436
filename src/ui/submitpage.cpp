#include "ui/submitpage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QKeyEvent>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QToolBox>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/desktop.h"
#include "ui/activitymodel.h"
#include "ui/busyindicator.h"
#include "ui/htmldelegate.h"
#include "ui/readonlytablemodel.h"
#include "ui/runqueuemodel.h"
#include "ui/namedbutton.h"
#include "ui/uierrors.h"

namespace qs {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QLCDNumber* Counter(const char* name, QWidget* parent) {
  auto* n = new QLCDNumber(5, parent);
  n->setObjectName(QString::fromLatin1(name));
  n->setSegmentStyle(QLCDNumber::Filled);
  n->setFixedSize(80, 28);
  return n;
}

QTableView* ListTable(const char* name, QAbstractItemModel* model, QWidget* parent) {
  auto* view = new QTableView(parent);
  view->setObjectName(QString::fromLatin1(name));
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setAlternatingRowColors(true);
  view->setWordWrap(false);
  view->verticalHeader()->hide();
  // Fixed row heights: the view never measures thousands of rows.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
  view->horizontalHeader()->setHighlightSections(false);
  view->horizontalHeader()->setStretchLastSection(true);
  return view;
}

// Calls an action with a view's current row when one of `keys` is pressed in the view.
class TKeyAction : public QObject {
 public:
  TKeyAction(QAbstractItemView* view, std::vector<int> keys, std::function<void(const QModelIndex&)> action)
      : QObject(view), view_(view), keys_(std::move(keys)), action_(std::move(action)) {
    view->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != view_ || event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (std::find(keys_.begin(), keys_.end(), key) == keys_.end() || !view_->currentIndex().isValid())
      return false;
    action_(view_->currentIndex());
    return true;
  }

 private:
  QAbstractItemView* view_;
  std::vector<int> keys_;
  std::function<void(const QModelIndex&)> action_;
};

void OnEnter(QAbstractItemView* view, std::function<void(const QModelIndex&)> action) {
  new TKeyAction(view, {Qt::Key_Return, Qt::Key_Enter}, std::move(action));
}

}  // namespace

TSubmitPage::TSubmitPage(TRunControl& run, TScheduler& scheduler, TProjectEditor& editor,
                         const std::vector<TManualEngine>& manualEngines, IDialogs& dialogs,
                         QWidget* parent)
    : QWidget(parent),
      run_(run),
      scheduler_(scheduler),
      editor_(editor),
      manualEngines_(manualEngines),
      dialogs_(dialogs) {
  setObjectName(QStringLiteral("SubmitPage"));
  panels_ = new QToolBox(this);
  panels_->setObjectName(QStringLiteral("SubmitPanels"));
  panels_->addItem(BuildAuto(), QString());
  panels_->addItem(BuildManual(), QString());
  panels_->addItem(BuildScheduled(), QString());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panels_);
  BindRun();
  BindScheduler();
  ShowButtons();
  ShowCounters();
  SchedulerChanged();
}

TSubmitPage::~TSubmitPage() {
  // The run and the scheduler outlive the page: nothing of theirs may call into it now.
  run_.OnQueueChanged = nullptr;
  run_.OnRowsCleared = nullptr;
  run_.OnRowAdded = nullptr;
  run_.OnRowDecided = nullptr;
  run_.OnButtonsChanged = nullptr;
  run_.OnBusyIndicator = nullptr;
  run_.OnUpdateDatabase = nullptr;
  scheduler_.OnListRebuilt = nullptr;
  scheduler_.OnLogLine = nullptr;
  scheduler_.OnLogCleared = nullptr;
}

// ---- the three panels ---------------------------------------------------------------------

QWidget* TSubmitPage::BuildAuto() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("AutoPanel"));
  addChecked_ = NamedButton("AddChecked", panel);
  start_ = NamedButton("Start", panel);
  pause_ = NamedButton("Pause", panel);
  stop_ = NamedButton("Stop", panel);
  reset_ = NamedButton("Reset", panel);
  busy_ = new TBusyIndicator(panel);
  busy_->setObjectName(QStringLiteral("Busy"));
  totalCaption_ = new QLabel(panel);
  completedCaption_ = new QLabel(panel);
  total_ = Counter("TotalCount", panel);
  completed_ = Counter("CompletedCount", panel);

  auto* commands = new QHBoxLayout;
  for (QPushButton* b : {addChecked_, start_, pause_, stop_, reset_}) commands->addWidget(b);
  commands->addSpacing(6);
  commands->addWidget(busy_);
  commands->addStretch(1);

  queue_ = new TRunQueueModel(run_, this);
  queueView_ = new QTreeView(panel);
  queueView_->setObjectName(QStringLiteral("SesList"));
  queueView_->setModel(queue_);
  queueView_->setHeaderHidden(true);
  queueView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  auto* queueDelegate = new THtmlDelegate(queueView_);
  queueView_->setItemDelegate(queueDelegate);
  connect(queueDelegate, &THtmlDelegate::linkActivated, this,
          [this](const QString& href, const QModelIndex& index) {
            ClickQueueLink(index.parent().isValid() ? index.parent().row() : index.row(), href);
          });
  connect(queue_, &TRunQueueModel::entriesReset, queueView_, &QTreeView::expandAll);
  // Delete on a waiting entry does what its cancel link does.
  new TKeyAction(queueView_, {Qt::Key_Delete}, [this](const QModelIndex& i) {
    ClickQueueLink(i.parent().isValid() ? i.parent().row() : i.row(), QStringLiteral("cancel"));
  });
  queueCaption_ = new QLabel(panel);
  queueCaption_->setBuddy(queueView_);

  activity_ = new TActivityModel(run_, this);
  activityView_ = ListTable("EngineActivity", activity_, panel);
  activityView_->setIconSize(QSize(16, 16));
  const int widths[] = {150, 200, 140, 150};
  for (int c = 0; c < 4; ++c) activityView_->setColumnWidth(c, widths[c]);
  connect(activityView_, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& i) { OpenRowAddress(i.row()); });
  OnEnter(activityView_, [this](const QModelIndex& i) { OpenRowAddress(i.row()); });
  activityCaption_ = new QLabel(panel);
  activityCaption_->setBuddy(activityView_);

  // The list follows the newest row until the user scrolls away from the end; scrolling
  // back to the end follows again. The scroll is made once per burst of new rows.
  auto* bar = activityView_->verticalScrollBar();
  auto follow = std::make_shared<bool>(true);
  connect(bar, &QScrollBar::valueChanged, this, [bar, follow](int value) { *follow = value >= bar->maximum(); });
  auto* scroll = new QTimer(this);
  scroll->setSingleShot(true);
  scroll->setInterval(40);
  connect(scroll, &QTimer::timeout, this, [this, follow] {
    if (*follow) activityView_->scrollToBottom();  // unless the user scrolled away meanwhile
  });
  connect(activity_, &QAbstractItemModel::rowsInserted, this, [scroll, follow] {
    if (*follow && !scroll->isActive()) scroll->start();
  });
  connect(activity_, &QAbstractItemModel::modelReset, this, [follow] { *follow = true; });

  auto* queueBox = new QWidget;
  auto* queueHead = new QHBoxLayout;
  queueHead->addWidget(queueCaption_);
  queueHead->addStretch(1);
  queueHead->addWidget(totalCaption_);
  queueHead->addWidget(total_);
  queueHead->addSpacing(8);
  queueHead->addWidget(completedCaption_);
  queueHead->addWidget(completed_);
  auto* queueLayout = new QVBoxLayout(queueBox);
  queueLayout->setContentsMargins(0, 0, 0, 0);
  queueLayout->addLayout(queueHead);
  queueLayout->addWidget(queueView_);
  auto* activityBox = new QWidget;
  auto* activityLayout = new QVBoxLayout(activityBox);
  activityLayout->setContentsMargins(0, 0, 0, 0);
  activityLayout->addWidget(activityCaption_);
  activityLayout->addWidget(activityView_);
  auto* split = new QSplitter(Qt::Vertical, panel);
  split->addWidget(queueBox);
  split->addWidget(activityBox);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  split->setChildrenCollapsible(false);

  auto* layout = new QVBoxLayout(panel);
  layout->addLayout(commands);
  layout->addWidget(split, 1);

  connect(addChecked_, &QPushButton::clicked, this, [this] {
    Guarded(dialogs_, [&] {
      run_.AddChecked(editor_.CurrentDomain(), editor_.Projects(),
                      [this](const std::string& p) { return editor_.IsChecked(p); });
    });
  });
  connect(start_, &QPushButton::clicked, this, [this] { Guarded(dialogs_, [&] { run_.Start(); }); });
  connect(pause_, &QPushButton::clicked, this, [this] { Guarded(dialogs_, [&] { run_.Pause(); }); });
  connect(stop_, &QPushButton::clicked, this, [this] { Guarded(dialogs_, [&] { run_.Stop(); }); });
  connect(reset_, &QPushButton::clicked, this, [this] { Guarded(dialogs_, [&] { run_.Reset(); }); });
  return panel;
}

QWidget* TSubmitPage::BuildManual() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("ManualPanel"));
  manual_ = new TReadOnlyTableModel(
      [this] { return manualEngines_.size(); },
      [this](size_t row, int column) {
        const TManualEngine& e = manualEngines_[row];
        return column == 0 ? e.name : column == 1 ? e.homePage : e.submitPage;
      },
      {"187", "192", "193"}, this);
  manual_->SetLinkColumns({1, 2});
  manualView_ = ListTable("ManualEngines", manual_, panel);
  manualView_->setColumnWidth(0, 200);
  manualView_->setColumnWidth(1, 260);
  manualView_->setMouseTracking(true);
  connect(manualView_, &QAbstractItemView::clicked, this, &TSubmitPage::OpenManualCell);
  OnEnter(manualView_, [this](const QModelIndex& i) { OpenManualCell(i); });
  connect(manualView_, &QAbstractItemView::entered, this, [this](const QModelIndex& i) {
    manualView_->viewport()->setCursor(manual_->IsLinkColumn(i.column()) ? Qt::PointingHandCursor
                                                                         : Qt::ArrowCursor);
  });
  manualCaption_ = new QLabel(panel);
  manualCount_ = new QLabel(panel);
  manualCount_->setObjectName(QStringLiteral("ManualCount"));
  auto* count = new QHBoxLayout;
  count->addWidget(manualCaption_);
  count->addWidget(manualCount_);
  count->addStretch(1);
  auto* layout = new QVBoxLayout(panel);
  layout->addWidget(manualView_, 1);
  layout->addLayout(count);
  ManualListChanged();
  return panel;
}

QWidget* TSubmitPage::BuildScheduled() {
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("ScheduledPanel"));
  startScheduler_ = NamedButton("StartScheduler", panel);
  stopScheduler_ = NamedButton("StopScheduler", panel);
  schedulerStatus_ = new QLabel(panel);
  schedulerStatus_->setObjectName(QStringLiteral("SchedulerStatus"));
  auto* commands = new QHBoxLayout;
  commands->addWidget(startScheduler_);
  commands->addWidget(stopScheduler_);
  commands->addSpacing(12);
  commands->addWidget(schedulerStatus_);
  commands->addStretch(1);

  scheduled_ = new TReadOnlyTableModel(
      [this] { return scheduler_.List().Rows().size(); },
      [this](size_t row, int column) -> std::string {
        const ScheduledRow& r = scheduler_.List().Rows()[row];
        switch (column) {
          case 0: return r.domain;
          case 1: return r.project;
          case 2: return r.submitDate;
          case 3: return r.time;
          default: return r.sortdate;
        }
      },
      {"196", "197", "198", "199", "200"}, this);
  scheduledView_ = ListTable("ScheduledList", scheduled_, panel);
  scheduledView_->setColumnWidth(0, 170);
  scheduledView_->setColumnWidth(1, 200);
  scheduledView_->setColumnWidth(2, 110);
  // The list comes sorted by its moment; the moment's own column is of no use to read.
  scheduledView_->setColumnHidden(4, true);
  scheduledCaption_ = new QLabel(panel);
  scheduledCaption_->setBuddy(scheduledView_);
  scheduledCountCaption_ = new QLabel(panel);
  scheduledCount_ = Counter("ScheduledCount", panel);
  auto* count = new QHBoxLayout;
  count->addWidget(scheduledCaption_);
  count->addStretch(1);
  count->addWidget(scheduledCountCaption_);
  count->addWidget(scheduledCount_);

  log_ = new TReadOnlyTableModel([this] { return scheduler_.LogLines().size(); },
                                 [this](size_t row, int) { return scheduler_.LogLines()[row]; },
                                 {"70"}, this);
  logView_ = new QListView(panel);
  logView_->setObjectName(QStringLiteral("SchedulerLog"));
  logView_->setModel(log_);
  logView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  logView_->setUniformItemSizes(true);
  logCaption_ = new QLabel(panel);
  logCaption_->setBuddy(logView_);
  clearLog_ = NamedButton("ClearLog", panel);
  auto* logFoot = new QHBoxLayout;
  logFoot->addStretch(1);
  logFoot->addWidget(clearLog_);

  auto* layout = new QVBoxLayout(panel);
  layout->addLayout(commands);
  layout->addLayout(count);
  layout->addWidget(scheduledView_, 3);
  layout->addWidget(logCaption_);
  layout->addWidget(logView_, 2);
  layout->addLayout(logFoot);

  connect(startScheduler_, &QPushButton::clicked, this, [this] { Guarded(dialogs_, [&] { scheduler_.Start(); }); });
  connect(stopScheduler_, &QPushButton::clicked, this, [this] { Guarded(dialogs_, [&] { scheduler_.Stop(); }); });
  connect(clearLog_, &QPushButton::clicked, this, [this] { scheduler_.ClearLog(); });
  return panel;
}

// ---- binding ------------------------------------------------------------------------------

void TSubmitPage::BindRun() {
  progress_ = new QTimer(this);
  progress_->setSingleShot(true);
  progress_->setInterval(TRunQueueModel::kCountsMs);
  connect(progress_, &QTimer::timeout, this, &TSubmitPage::progressChanged);
  run_.OnQueueChanged = [this] {
    queue_->Refresh();
    // The entry under promotion comes into sight when it begins.
    ShowCounters();
    if (run_.Current() != shownCurrent_) {
      shownCurrent_ = run_.Current();
      if (shownCurrent_ >= 0)
        queueView_->scrollTo(queue_->index(shownCurrent_, 0), QAbstractItemView::PositionAtTop);
      progress_->stop();
      emit progressChanged();  // another entry: never show the last one's progress
    } else if (!progress_->isActive()) {
      progress_->start();
    }
  };
  run_.OnRowsCleared = [this] { activity_->RowsCleared(); };
  run_.OnRowAdded = [this](size_t row) { activity_->RowAdded(row); };
  run_.OnRowDecided = [this](size_t row) {
    activity_->RowDecided(row);
    if (!progress_->isActive()) progress_->start();  // shown with the next batch
  };
  run_.OnButtonsChanged = [this] {
    ShowButtons();
    ShowCounters();
    emit progressChanged();
  };
  run_.OnBusyIndicator = [this](bool shown, int frame) { busy_->Show(shown, frame); };
  run_.OnUpdateDatabase = [this] { emit updateDatabaseRequested(); };
}

void TSubmitPage::BindScheduler() {
  scheduler_.OnListRebuilt = [this] {
    scheduled_->Reset();
    scheduledCount_->display(scheduler_.ScheduledCount());
  };
  scheduler_.OnLogLine = [this](const std::string&) {
    log_->Appended();
    logView_->scrollToBottom();
  };
  scheduler_.OnLogCleared = [this] { log_->Reset(); };
}

void TSubmitPage::ShowButtons() {
  const TRunButtons& b = run_.Buttons();
  start_->setEnabled(b.start);
  pause_->setEnabled(b.pause);
  stop_->setEnabled(b.stop);
  reset_->setEnabled(b.reset);
}

void TSubmitPage::ShowCounters() {
  if (total_->intValue() != run_.Total()) total_->display(run_.Total());
  if (completed_->intValue() != run_.Completed()) completed_->display(run_.Completed());
}

void TSubmitPage::SchedulerChanged() {
  startScheduler_->setEnabled(scheduler_.StartEnabled());
  stopScheduler_->setEnabled(scheduler_.StopEnabled());
  schedulerStatus_->setText(Q(scheduler_.StatusText()));
  scheduled_->Reset();
  scheduledCount_->display(scheduler_.ScheduledCount());
}

void TSubmitPage::ManualListChanged() {
  manual_->Reset();
  manualCount_->setText(QString::number(manualEngines_.size()));
}

void TSubmitPage::ClickQueueLink(int entry, const QString& href) {
  if (href != QLatin1String("cancel") || entry < 0) return;
  Guarded(dialogs_, [&] { run_.Cancel(size_t(entry)); });
}

void TSubmitPage::OpenRowAddress(int row) {
  if (row >= 0 && size_t(row) < run_.Rows().size()) OpenWebAddress(run_.Rows()[size_t(row)].url);
}

void TSubmitPage::OpenManualCell(const QModelIndex& index) {
  if (index.isValid() && manual_->IsLinkColumn(index.column()))
    OpenWebAddress(manual_->Cell(size_t(index.row()), index.column()));
}

// ---- panels and captions ------------------------------------------------------------------

void TSubmitPage::OpenPanel(TSubmitPanel panel) { panels_->setCurrentIndex(int(panel)); }

TSubmitPanel TSubmitPage::OpenedPanel() const { return static_cast<TSubmitPanel>(panels_->currentIndex()); }

QPushButton* TSubmitPage::Button(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name));
}

void TSubmitPage::ApplyTable(const TLanguageTable& table) {
  auto t = [&](const char* key) { return Q(table.Lookup(key)); };
  panels_->setItemText(0, t("61"));
  panels_->setItemText(1, t("62"));
  panels_->setItemText(2, t("63"));
  addChecked_->setText(t("65"));
  start_->setText(t("79"));
  pause_->setText(t("77"));
  stop_->setText(t("80"));
  reset_->setText(t("78"));
  totalCaption_->setText(t("label11"));
  completedCaption_->setText(t("label12"));
  queueCaption_->setText(t("74"));
  activityCaption_->setText(t("64"));
  manualCaption_->setText(t("label14"));
  startScheduler_->setText(t("66"));
  stopScheduler_->setText(t("67"));
  clearLog_->setText(t("71"));
  scheduledCaption_->setText(t("72"));
  scheduledCountCaption_->setText(t("label13"));
  logCaption_->setText(t("70"));
  schedulerStatus_->setText(Q(scheduler_.StatusText()));
  activity_->ApplyTable(table);
  manual_->ApplyTable(table);
  scheduled_->ApplyTable(table);
  log_->ApplyTable(table);
}

}  // namespace qs
