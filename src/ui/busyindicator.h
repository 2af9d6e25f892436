// The busy indicator of a run: a ring of eight dots, one of them lit, turned one step by the
// run's 100 ms timer. Hidden, it keeps its place and draws nothing.
#pragma once

#include <QWidget>

namespace qs {

class TBusyIndicator : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kFrames = 8;

  explicit TBusyIndicator(QWidget* parent = nullptr);

  void Show(bool shown, int frame);
  bool Shown() const { return shown_; }
  int Frame() const { return frame_; }

  QSize sizeHint() const override { return {22, 22}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool shown_ = false;
  int frame_ = 0;
};

}  // namespace qs
