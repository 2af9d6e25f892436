#include "ui/dialog97.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace qs {

namespace {

QStyle::StandardPixmap Symbol(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::Warning: return QStyle::SP_MessageBoxWarning;
    case TMsgDlgType::Error: return QStyle::SP_MessageBoxCritical;
    case TMsgDlgType::Information: return QStyle::SP_MessageBoxInformation;
    case TMsgDlgType::Confirmation: return QStyle::SP_MessageBoxQuestion;
    case TMsgDlgType::Custom: break;
  }
  return QStyle::SP_CustomBase;
}

}  // namespace

TDialog97::TDialog97(QWidget* parent) : QDialog(parent) {
  setModal(true);
  // A dialog window: a title and a close button, no minimise or maximise.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

int TDialog97::Show(const std::string& text, TMsgDlgType type, int helpContext,
                    TMsgDlgButtons buttons) {
  const std::string oldMessage = message_;
  const TMsgDlgType oldType = type_;
  const TMsgDlgButtons oldButtons = buttons_;
  const int oldHelp = helpContext_;
  message_ = text;
  type_ = type;
  buttons_ = buttons;
  helpContext_ = helpContext;
  Build();
  const int result = exec();
  message_ = oldMessage;
  type_ = oldType;
  buttons_ = oldButtons;
  helpContext_ = oldHelp;
  return result == 0 ? mrClosed : result;
}

void TDialog97::Build() {
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) delete child;

  auto* label = new QLabel(this);
  label->setObjectName(QStringLiteral("message"));
  label->setTextFormat(Qt::AutoText);  // the messages carry <br> and <b>
  label->setWordWrap(false);
  label->setText(QString::fromStdString(message_));
  label->adjustSize();
  label->move(60, 8);

  const TDialogLayout layout = LayoutDialog(label->width(), label->height(), buttons_);
  setFixedSize(layout.width, layout.height);
  setWindowTitle(QString::fromStdString(DialogCaption(type_, applicationTitle)));

  if (type_ != TMsgDlgType::Custom) {
    auto* symbol = new QLabel(this);
    symbol->setPixmap(style()->standardIcon(Symbol(type_)).pixmap(32, 32));
    symbol->setGeometry(14, 8, 32, 32);
  }
  QPushButton* first = nullptr;
  QPushButton* no = nullptr;
  for (const TButtonPlace& place : layout.buttons) {
    auto* button = new QPushButton(QString::fromStdString(ButtonCaption(place.button)), this);
    button->setObjectName(QString::fromStdString(ButtonCaption(place.button)).remove('&'));
    button->setGeometry(place.left, place.top, place.width, place.height);
    connect(button, &QPushButton::clicked, this, [this, b = place.button] { Press(b); });
    if (!first) first = button;
    if (place.button == mbNo) no = button;
  }
  // Enter presses the button with the focus. A question starts on No, so that Enter (like
  // Escape, which closes) never lets a deleting question's action go on by itself.
  QPushButton* start = type_ == TMsgDlgType::Confirmation && no ? no : first;
  if (start) {
    start->setDefault(true);
    start->setFocus();
  }
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TDialog97::Press(TMsgDlgBtn button) {
  if (button == mbHelp) {
    if (OnHelp) OnHelp(helpContext_);
    return;
  }
  done(ButtonResult(button));
}

void TDialog97::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (OnShown) QTimer::singleShot(0, this, [this] { if (isVisible()) OnShown(*this); });
}

}  // namespace qs
