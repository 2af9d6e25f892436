// The help window: on top of the others, showing the pages of \data\help\ with a menu of
// topics. It opens maximised until the user gives it a size of their own, which it keeps
// in \dfd.ini.
#pragma once

#include <QMainWindow>
#include <string>

#include "app/appfolder.h"
#include "app/langtable.h"

class QMenu;
class QTextBrowser;
class QTimer;

namespace qs {

class THelpForm : public QMainWindow {
  Q_OBJECT
 public:
  THelpForm(const TAppFolder& folder, QWidget* parent = nullptr);

  // Shows the window on the page (a file name of the help folder).
  void ShowTopic(const std::string& file);
  QString CurrentFile() const;
  // The topic menu and the caption in the table's language.
  void ApplyTable(const TLanguageTable& table);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void SavePlace();

  TAppFolder folder_;
  QTextBrowser* view_;
  QMenu* topics_;
  QTimer* placeSaver_;
};

}  // namespace qs
