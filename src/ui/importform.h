// The import monitor window: the URL tree with its status lines and their add and update
// links, the import log, the two counters and Stop, bound to the site import.
#pragma once

#include <QDialog>
#include <functional>

#include "app/langtable.h"
#include "spider/importmonitor.h"

class QLCDNumber;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace qs {

class TImportProjects : public QDialog {
  Q_OBJECT
 public:
  TImportProjects(TImportMonitor& monitor, QWidget* parent = nullptr);

  void ApplyTable(const TLanguageTable& table);
  // Clicks a link of a node's lines as the user would.
  void ClickLink(size_t node, const QString& href);

  QTreeWidget* Tree() const { return tree_; }
  QListWidget* Log() const { return log_; }
  QPushButton* StopButton() const { return stop_; }
  int UrlsFound() const;
  int UrlsSpidered() const;

  // Projects may have been added or changed (the main window shows the lists again).
  std::function<void()> OnProjectsChanged;

 private:
  void NodeAdded(size_t node);
  void LineChanged(size_t node, TImportLine line);

  TImportMonitor& monitor_;
  QLabel *statusCaption_, *foundCaption_, *spideredCaption_;
  QTreeWidget* tree_;
  QListWidget* log_;
  QLCDNumber *found_, *spidered_;
  QPushButton *stop_, *close_;
};

}  // namespace qs
