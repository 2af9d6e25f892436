// The strip of seven page tabs: HTML captions, the selected one in red, backgrounds from
// \tab2on.gif and \tab2off.gif.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <array>

#include "app/windowtexts.h"

namespace qs {

class TTabButton : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
  void SetSelected(bool selected, const QPixmap& on, const QPixmap& off);
  bool Selected() const { return selected_; }
  // The caption's HTML as the language table gives it; it is drawn with the tab's colour.
  void SetCaption(const QString& html);
  const QString& Caption() const { return caption_; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void ShowCaption();
  bool selected_ = false;
  QString caption_;
  QPixmap background_;
};

class TTabStrip : public QWidget {
  Q_OBJECT
 public:
  TTabStrip(const QPixmap& on, const QPixmap& off, QWidget* parent = nullptr);

  TTabButton* Tab(int index) const { return tabs_[index]; }
  // -1: no tab marked (the About page).
  void Select(int index);
  int Selected() const { return selected_; }

 signals:
  void tabClicked(int index);

 private:
  std::array<TTabButton*, kTabCount> tabs_{};
  QPixmap on_, off_;
  int selected_ = -1;
};

}  // namespace qs
