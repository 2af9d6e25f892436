// The help window: on top of the others, maximised, showing the pages of \data\help\ with a
// menu of topics.
#pragma once

#include <QMainWindow>
#include <string>

#include "app/appfolder.h"

class QTextBrowser;

namespace qs {

class THelpForm : public QMainWindow {
  Q_OBJECT
 public:
  THelpForm(const TAppFolder& folder, QWidget* parent = nullptr);

  // Shows the window maximised on the page (a file name of the help folder).
  void ShowTopic(const std::string& file);
  QString CurrentFile() const;

 private:
  TAppFolder folder_;
  QTextBrowser* view_;
};

}  // namespace qs
