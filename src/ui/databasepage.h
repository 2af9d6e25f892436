// The Database page: the main and the custom engine table, each in a panel of its own with
// its view, counters, grid and record editor, and the Database Updates panel.
#pragma once

#include <QWidget>
#include <memory>

#include "app/summit.h"
#include "engines/databaseupdate.h"

class QToolBox;

namespace qs {

class TEngineTablePanel;
class TUpdatePanel;

enum class TDatabasePanel { Main, Custom, Updates };

class TDatabasePage : public QWidget {
  Q_OBJECT
 public:
  TDatabasePage(TSummit& summit, IDialogs& dialogs, TPublicKey updateKey, QWidget* parent = nullptr);
  ~TDatabasePage() override;

  void OpenPanel(TDatabasePanel panel);
  TDatabasePanel OpenedPanel() const;
  void ApplyTable(const TLanguageTable& table);
  // Opens the Database Updates panel and starts an update.
  void StartUpdate();

  TEngineTablePanel* MainPanel() const { return main_; }
  TEngineTablePanel* CustomPanel() const { return custom_; }
  TUpdatePanel* Updates() const { return updates_; }
  TDatabaseUpdate& Update() { return *update_; }

 signals:
  // An update installed new data: the manual list, the ranking engines and the categories
  // are to be shown again.
  void dataUpdated();

 private:
  TSummit& summit_;
  std::unique_ptr<TDatabaseUpdate> update_;
  QToolBox* panels_ = nullptr;
  TEngineTablePanel *main_ = nullptr, *custom_ = nullptr;
  TUpdatePanel* updates_ = nullptr;
};

}  // namespace qs
