#include "ui/helpform.h"

#include <QAction>
#include <QMenuBar>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "app/settings.h"
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
  topics_ = menuBar()->addMenu(QStringLiteral("&Topics"));
  topics_->setObjectName(QStringLiteral("HelpTopics"));
  for (const THelpTopic& topic : kHelpTopics) {
    const std::string file(topic.file);
    topics_->addAction(QString::fromUtf8(topic.title.data(), int(topic.title.size())), this,
                       [this, file] { ShowTopic(file); });
  }
  placeSaver_ = new QTimer(this);
  placeSaver_->setSingleShot(true);
  placeSaver_->setInterval(1000);
  connect(placeSaver_, &QTimer::timeout, this, &THelpForm::SavePlace);
}

void THelpForm::ApplyTable(const TLanguageTable& table) {
  std::vector<std::string> captions;
  for (const THelpTopic& topic : kHelpTopics) {
    std::string caption = table.Lookup(topic.key);
    captions.push_back(caption.empty() ? std::string(topic.title) : caption);
  }
  captions = WithMnemonics(captions);
  const QList<QAction*> actions = topics_->actions();
  for (qsizetype i = 0; i < actions.size() && i < qsizetype(captions.size()); ++i)
    actions[i]->setText(QString::fromStdString(captions[size_t(i)]));
  const std::string help = table.Lookup("54");
  if (!help.empty()) {
    setWindowTitle(QString::fromStdString(help));
    topics_->setTitle(QString::fromStdString(WithMnemonics({help})[0]));
  }
}

void THelpForm::ShowTopic(const std::string& file) {
  view_->setSource(QUrl::fromLocalFile(QString::fromStdString(folder_.Path(kHelpFolder) + file)));
  if (!isVisible()) {
    std::string geometry;
    try {
      geometry = ReadSettingText(folder_, setting::kHelpGeometry);
    } catch (const std::exception&) {
      // An unreadable settings file: the window opens as it always did.
    }
    if (geometry.empty() || !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry))))
      showMaximized();
    else
      show();
    placeSaver_->stop();
  }
  raise();
  activateWindow();
}

void THelpForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (isVisible()) placeSaver_->start();
}

void THelpForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (isVisible()) placeSaver_->start();
}

void THelpForm::SavePlace() {
  try {
    WriteSettingText(folder_, setting::kHelpGeometry, saveGeometry().toBase64().toStdString());
  } catch (const std::exception&) {
    // The size is a convenience: the window keeps it for this session anyway.
  }
}

QString THelpForm::CurrentFile() const { return view_->source().fileName(); }

}  // namespace qs
