// The Ranking page: the Ranking Check panel (the URL, keyword and depth of the check, the
// engine list with its Select All / Deselect All menu, Start and Stop, and the result tree
// with its clickable hit links) bound to a ranking run of its own, and the History panel
// (the current project's ranking history as a table of changes and a chart of the best
// position over time per engine for one keyword).
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "net/connectionsettings.h"
#include "platform/internetconnection.h"
#include "projects/projecteditor.h"
#include "ranking/rankenginelist.h"
#include "ranking/rankhistorylist.h"
#include "ranking/rankrun.h"
#include "ranking/rankview.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTableView;
class QToolBox;
class QTreeView;

namespace qs {

class TRankEngineModel;
class TRankHistoryModel;
class TRankViewModel;

enum class TRankingPanel { Check, History };

class TRankingPage : public QWidget {
  Q_OBJECT
 public:
  TRankingPage(TRankEngineList& engines, TProjectEditor& editor, TConnectionSettings& connection,
               IDialogs& dialogs, IInternetConnection& internet, const TAppState& state,
               QWidget* parent = nullptr);
  ~TRankingPage() override;

  TRankRun& Run() { return *run_; }
  const TRankView& View() const { return view_; }
  const TRankHistory& History() const { return history_; }

  // The page became the current page: the keyword list follows the project, the URL is
  // taken from it while it is still the initial "http://", and the history is read.
  void PageShown();
  // Reads the current project's ranking history again.
  void ReloadHistory();
  void OpenPanel(TRankingPanel panel);
  TRankingPanel OpenedPanel() const;
  void ApplyTable(const TLanguageTable& table);

  // A click on a link of the result tree (RankViewParamClick).
  void ClickResultLink(const QString& href);
  // The ranking engine list was filled again (after an update).
  void EngineListChanged();
  // The engine list's pop-up commands.
  void SelectAllEngines();
  void DeselectAllEngines();

  QLineEdit* RankUrl() const { return rankUrl_; }
  QComboBox* RankKey() const { return rankKey_; }
  QComboBox* RankPage() const { return rankPage_; }
  QPushButton* StartRank() const { return startRank_; }
  QPushButton* StopRank() const { return stopRank_; }
  QListView* RankEngList() const { return engineList_; }
  QTreeView* RankView() const { return tree_; }
  QComboBox* HistoryKeyword() const { return historyKeyword_; }
  QTableView* HistoryTable() const { return historyTable_; }
  QChart* HistoryChart() const { return chart_; }
  QChartView* HistoryChartView() const { return chartView_; }
  QLabel* BestEver() const { return bestEver_; }
  QLabel* HistoryNote() const { return historyNote_; }
  QLabel* HistoryLegend() const { return chartLegend_; }

 private:
  QWidget* BuildCheck();
  QWidget* BuildHistory();
  void Bind();
  void ShowButtons();
  void FillKeywords();
  void ShowHistoryKeyword(const QString& keyword);
  std::string HistoryPath() const;

  TRankEngineList& engines_;
  TProjectEditor& editor_;
  TConnectionSettings& connection_;
  IDialogs& dialogs_;
  const TAppState& state_;
  TRankView view_;
  std::unique_ptr<TRankRun> run_;
  TRankHistory history_;
  std::string historyPath_;  // the file the history was read from

  QToolBox* panels_ = nullptr;
  QLabel *urlCaption_ = nullptr, *keyCaption_ = nullptr, *depthCaption_ = nullptr,
         *resultsCaption_ = nullptr;
  QLineEdit* rankUrl_ = nullptr;
  QComboBox *rankKey_ = nullptr, *rankPage_ = nullptr;
  QPushButton *startRank_ = nullptr, *stopRank_ = nullptr;
  TRankEngineModel* engineModel_ = nullptr;
  QListView* engineList_ = nullptr;
  TRankViewModel* treeModel_ = nullptr;
  QTreeView* tree_ = nullptr;

  QLabel *historyKeyCaption_ = nullptr, *bestEver_ = nullptr, *historyNote_ = nullptr;
  QComboBox* historyKeyword_ = nullptr;
  TRankHistoryModel* historyModel_ = nullptr;
  QTableView* historyTable_ = nullptr;
  QChart* chart_ = nullptr;
  QChartView* chartView_ = nullptr;
  QLabel* chartLegend_ = nullptr;
};

}  // namespace qs
