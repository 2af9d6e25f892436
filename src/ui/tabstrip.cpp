#include "ui/tabstrip.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>

namespace qs {

void TTabButton::SetSelected(bool selected, const QPixmap& on, const QPixmap& off) {
  selected_ = selected;
  background_ = selected ? on : off;
  QPalette p = palette();
  const QColor colour = selected ? QColor(0xFF, 0x00, 0x00) : QColor(0x00, 0x00, 0x00);
  p.setColor(QPalette::Link, colour);
  p.setColor(QPalette::LinkVisited, colour);
  p.setColor(QPalette::WindowText, colour);
  setPalette(p);
  // The captions are links; a rich text label keeps its colours until its text is set again.
  const QString html = text();
  setText(QString());
  setText(html);
  update();
}

void TTabButton::paintEvent(QPaintEvent* event) {
  if (!background_.isNull()) {
    QPainter painter(this);
    painter.drawPixmap(rect(), background_);
  }
  QLabel::paintEvent(event);
}

void TTabButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked();
  QLabel::mousePressEvent(event);
}

TTabStrip::TTabStrip(const QPixmap& on, const QPixmap& off, QWidget* parent)
    : QWidget(parent), on_(on), off_(off) {
  setObjectName(QStringLiteral("TabStrip"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  static constexpr const char* kNames[kTabCount] = {"ProjectsTab", "SubmitTab",   "RankingTab",
                                                    "MetaTagsTab", "DoorwaysTab", "ReportsTab",
                                                    "DatabaseTab"};
  for (int i = 0; i < kTabCount; ++i) {
    auto* tab = new TTabButton(this);
    tab->setObjectName(QString::fromLatin1(kNames[i]));
    tab->setTextFormat(Qt::RichText);
    tab->setTextInteractionFlags(Qt::NoTextInteraction);  // a click anywhere chooses the tab
    tab->setMinimumHeight(24);
    tab->setFixedWidth(kTabRules[i].englishWidth);
    connect(tab, &TTabButton::clicked, this, [this, i] { emit tabClicked(i); });
    tabs_[i] = tab;
    layout->addWidget(tab);
  }
  layout->addStretch(1);
  Select(-1);
}

void TTabStrip::Select(int index) {
  selected_ = index;
  for (int i = 0; i < kTabCount; ++i) tabs_[i]->SetSelected(i == index, on_, off_);
}

}  // namespace qs
