// The Database Updates panel: the Update button, the update's status tree with its green and
// red lines, a progress bar for the download under way, and the dates of the last updates,
// bound to the database update.
#pragma once

#include <QWidget>

#include "app/langtable.h"
#include "engines/databaseupdate.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace qs {

class TUpdatePanel : public QWidget {
  Q_OBJECT
 public:
  explicit TUpdatePanel(TDatabaseUpdate& update, QWidget* parent = nullptr);
  ~TUpdatePanel() override;

  void ApplyTable(const TLanguageTable& table);
  // The Update button.
  void StartUpdate();

  QPushButton* UpdateButton() const { return update_; }
  QTreeWidget* Tree() const { return tree_; }
  QProgressBar* Progress() const { return progress_; }

 signals:
  // The update ended: what it installed is to be shown again.
  void finished(bool ok);

 private:
  void Build();
  void ShowProgress();
  void ShowDates();

  TDatabaseUpdate& model_;
  QLabel *hint_ = nullptr, *databasesCaption_ = nullptr, *databases_ = nullptr,
         *softwareCaption_ = nullptr, *software_ = nullptr;
  QPushButton* update_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace qs
