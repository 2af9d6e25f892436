// The splash window of the start-up: a fixed 642 × 359 tool window, centred, showing
// \splash.jpg stretched, whose caption names the step in progress.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace qs {

class TSplash : public QWidget {
  Q_OBJECT
 public:
  explicit TSplash(const QPixmap& picture, const QIcon& icon);
  // Sets the caption and lets pending events run once so the change is seen.
  void SetCaption(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace qs
