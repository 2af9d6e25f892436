#include "ui/tabstrip.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>

namespace qs {

void TTabButton::SetSelected(bool selected, const QPixmap& on, const QPixmap& off) {
  selected_ = selected;
  background_ = selected ? on : off;
  ShowCaption();
}

void TTabButton::SetCaption(const QString& html) {
  caption_ = html;
  ShowCaption();
}

void TTabButton::ShowCaption() {
  // The caption is a link; a link takes its colour from its own style, not the palette's
  // (which a style sheet overrides), so the colour goes into the link.
  QString shown = caption_;
  shown.replace(QStringLiteral("<A href=\"hover\">"),
                selected_ ? QStringLiteral("<A href=\"hover\" style=\"color:#FF0000; text-decoration:none\">")
                          : QStringLiteral("<A href=\"hover\" style=\"color:#000000; text-decoration:none\">"),
                Qt::CaseInsensitive);
  setText(shown);
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
