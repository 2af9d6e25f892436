// The Submit page: the Auto Submission panel (the run's commands, its queue, its engine
// activity, the Total and Completed counters and the busy indicator), the Manual Submissions
// panel (the manual engine list) and the Scheduled Submissions panel (the scheduler's
// commands, list and log). Every control forwards to the run or the scheduler and shows what
// they report; button states are read from them.
#pragma once

#include <QWidget>
#include <vector>

#include "app/dialogs.h"
#include "engines/manuallist.h"
#include "projects/projecteditor.h"
#include "schedule/scheduler.h"
#include "submit/runcontrol.h"

class QLabel;
class QLCDNumber;
class QListView;
class QPushButton;
class QTimer;
class QTableView;
class QToolBox;
class QTreeView;

namespace qs {

class TActivityModel;
class TBusyIndicator;
class TReadOnlyTableModel;
class TRunQueueModel;

enum class TSubmitPanel { Auto, Manual, Scheduled };

class TSubmitPage : public QWidget {
  Q_OBJECT
 public:
  TSubmitPage(TRunControl& run, TScheduler& scheduler, TProjectEditor& editor,
              const std::vector<TManualEngine>& manualEngines, IDialogs& dialogs,
              QWidget* parent = nullptr);
  ~TSubmitPage() override;

  void OpenPanel(TSubmitPanel panel);
  TSubmitPanel OpenedPanel() const;
  void ApplyTable(const TLanguageTable& table);
  // The scheduler started or stopped: its buttons, status text and list.
  void SchedulerChanged();
  // The manual engine list was loaded again.
  void ManualListChanged();

  // Clicks the cancel link of an entry's status line as the user would.
  void ClickQueueLink(int entry, const QString& href);

  QPushButton* Button(const char* name) const;
  QTreeView* QueueView() const { return queueView_; }
  QTableView* ActivityView() const { return activityView_; }
  TActivityModel* Activity() const { return activity_; }
  TRunQueueModel* QueueModel() const { return queue_; }
  QLCDNumber* TotalCounter() const { return total_; }
  QLCDNumber* CompletedCounter() const { return completed_; }
  TBusyIndicator* Busy() const { return busy_; }
  QTableView* ManualView() const { return manualView_; }
  QLabel* ManualCount() const { return manualCount_; }
  QTableView* ScheduledView() const { return scheduledView_; }
  QLCDNumber* ScheduledCounter() const { return scheduledCount_; }
  QListView* LogView() const { return logView_; }
  QLabel* SchedulerStatus() const { return schedulerStatus_; }

 signals:
  // The current entry or its progress changed (the window shows ProgressText()).
  void progressChanged();
  // Yes to "Your database needs to be updated".
  void updateDatabaseRequested();

 private:
  QWidget* BuildAuto();
  QWidget* BuildManual();
  QWidget* BuildScheduled();
  void BindRun();
  void BindScheduler();
  void ShowButtons();
  void ShowCounters();
  void RowAdded(size_t row);
  void OpenRowAddress(int row);
  void OpenManualCell(const QModelIndex& index);

  TRunControl& run_;
  TScheduler& scheduler_;
  TProjectEditor& editor_;
  const std::vector<TManualEngine>& manualEngines_;
  IDialogs& dialogs_;

  QToolBox* panels_ = nullptr;
  QPushButton *addChecked_ = nullptr, *start_ = nullptr, *pause_ = nullptr, *stop_ = nullptr,
              *reset_ = nullptr;
  TBusyIndicator* busy_ = nullptr;
  QLabel *totalCaption_ = nullptr, *completedCaption_ = nullptr, *queueCaption_ = nullptr,
         *activityCaption_ = nullptr;
  QLCDNumber *total_ = nullptr, *completed_ = nullptr;
  TRunQueueModel* queue_ = nullptr;
  QTreeView* queueView_ = nullptr;
  int shownCurrent_ = -1;
  QTimer* progress_ = nullptr;
  TActivityModel* activity_ = nullptr;
  QTableView* activityView_ = nullptr;

  TReadOnlyTableModel* manual_ = nullptr;
  QTableView* manualView_ = nullptr;
  QLabel *manualCaption_ = nullptr, *manualCount_ = nullptr;

  QPushButton *startScheduler_ = nullptr, *stopScheduler_ = nullptr, *clearLog_ = nullptr;
  QLabel *schedulerStatus_ = nullptr, *scheduledCaption_ = nullptr, *scheduledCountCaption_ = nullptr,
         *logCaption_ = nullptr;
  TReadOnlyTableModel* scheduled_ = nullptr;
  QTableView* scheduledView_ = nullptr;
  QLCDNumber* scheduledCount_ = nullptr;
  TReadOnlyTableModel* log_ = nullptr;
  QListView* logView_ = nullptr;
};

}  // namespace qs
