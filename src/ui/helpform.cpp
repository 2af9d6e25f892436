#include "ui/helpform.h"

#include <QAction>
#include <QMenuBar>
#include <QTextBrowser>
#include <QUrl>

#include "app/windowtexts.h"

namespace qs {

THelpForm::THelpForm(const TAppFolder& folder, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowStaysOnTopHint), folder_(folder) {
  setObjectName(QStringLiteral("HelpForm"));
  setWindowTitle(QStringLiteral("Help"));
  view_ = new QTextBrowser(this);
  view_->setOpenExternalLinks(true);
  view_->setSearchPaths({QString::fromStdString(folder_.Path(kHelpFolder))});
  setCentralWidget(view_);
  // Escape closes the window, as it does a dialog.
  auto* close = new QAction(this);
  close->setShortcut(QKeySequence(Qt::Key_Escape));
  connect(close, &QAction::triggered, this, &QWidget::close);
  addAction(close);
  QMenu* topics = menuBar()->addMenu(QStringLiteral("&Topics"));
  topics->setObjectName(QStringLiteral("HelpTopics"));
  for (const THelpTopic& topic : kHelpTopics) {
    const std::string file(topic.file);
    topics->addAction(QString::fromUtf8(topic.title.data(), int(topic.title.size())), this,
                      [this, file] { ShowTopic(file); });
  }
}

void THelpForm::ShowTopic(const std::string& file) {
  view_->setSource(QUrl::fromLocalFile(QString::fromStdString(folder_.Path(kHelpFolder) + file)));
  showMaximized();
  raise();
  activateWindow();
}

QString THelpForm::CurrentFile() const { return view_->source().fileName(); }

}  // namespace qs
