// The message dialog as the user answers it: the pressed button's result, the closed window,
// Help that does not close, and the layout of the buttons around the measured text.
#include "ui/dialog97.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace qs {
namespace {

TEST(Dialog97Test, ReturnsThePressedButtonAndTwoWhenClosed) {
  TDialog97 dialog;
  dialog.applicationTitle = "Quorvex Summit v5.5";
  const struct {
    const char* press;  // object name of the button, or nullptr to close the window
    int result;
  } cases[] = {{"Yes", mrYes}, {"No", mrNo}, {nullptr, mrClosed}};
  for (const auto& c : cases) {
    dialog.OnShown = [&](TDialog97& d) {
      if (c.press) d.findChild<QPushButton*>(QString::fromLatin1(c.press))->click();
      else d.close();
    };
    EXPECT_EQ(dialog.Show("Delete?", TMsgDlgType::Confirmation, 0, mbYes | mbNo), c.result);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Confirmation"));
  }
}

TEST(Dialog97Test, EnterAndEscapeNeverAnswerYesToAQuestion) {
  TDialog97 dialog;
  const struct {
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    Qt::Key key;
    int result;
  } cases[] = {
      {TMsgDlgType::Confirmation, mbYes | mbNo, Qt::Key_Return, mrNo},
      {TMsgDlgType::Confirmation, mbYes | mbNo, Qt::Key_Escape, mrClosed},
      {TMsgDlgType::Error, mbOK, Qt::Key_Return, mrOk},
  };
  for (const auto& c : cases) {
    dialog.OnShown = [&](TDialog97& d) {
      QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &d;
      QTest::keyClick(target, c.key);
    };
    EXPECT_EQ(dialog.Show("Delete the domain?", c.type, 0, c.buttons), c.result);
  }
  // The window is a dialog: no minimise or maximise button.
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST(Dialog97Test, HelpOpensTheTopicAndKeepsTheDialogOpen) {
  TDialog97 dialog;
  std::vector<int> helped;
  dialog.OnHelp = [&](int context) { helped.push_back(context); };
  dialog.OnShown = [&](TDialog97& d) {
    d.findChild<QPushButton*>(QStringLiteral("Help"))->click();
    EXPECT_TRUE(d.isVisible());
    d.findChild<QPushButton*>(QStringLiteral("Ok"))->click();
  };
  EXPECT_EQ(dialog.Show("Note", TMsgDlgType::Error, 7, mbOK | mbHelp), mrOk);
  EXPECT_EQ(helped, std::vector<int>{7});
}

TEST(Dialog97Test, ButtonsSitWhereTheLayoutPutsThem) {
  TDialog97 dialog;
  dialog.applicationTitle = "Title";
  dialog.OnShown = [&](TDialog97& d) {
    auto* label = d.findChild<QLabel*>(QStringLiteral("message"));
    const TDialogLayout expected =
        LayoutDialog(label->width(), label->height(), mbYes | mbNo | mbCancel);
    EXPECT_EQ(d.width(), expected.width);
    EXPECT_EQ(d.height(), expected.height);
    for (const TButtonPlace& place : expected.buttons) {
      auto* button = d.findChild<QPushButton*>(
          QString::fromStdString(ButtonCaption(place.button)).remove('&'));
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->geometry(), QRect(place.left, place.top, 65, 25));
    }
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Title"));  // the Custom type
    d.close();
  };
  dialog.Show("A message<br>on two lines", TMsgDlgType::Custom, 0, mbCancel | mbNo | mbYes);
}

}  // namespace
}  // namespace qs
