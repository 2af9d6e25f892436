// What the message dialog decides: captions, buttons, results and the layout.
#include "app/dialogs.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

TEST(Dialogs, ButtonsCaptionsAndResults) {
  struct Case {
    TMsgDlgBtn button;
    const char* caption;
    int result;
  } cases[] = {
      {mbYes, "&Yes", 6},      {mbNo, "&No", 7},         {mbOK, "&Ok", 1},
      {mbCancel, "Cancel", 2}, {mbAbort, "&Abort", 3},   {mbRetry, "&Retry", 4},
      {mbIgnore, "&Ignore", 5}, {mbAll, "&All", 8},      {mbHelp, "&Help", mrNone},
  };
  ASSERT_EQ(std::size(cases), std::size(kButtonOrder));
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(kButtonOrder[i], cases[i].button);
    EXPECT_EQ(ButtonCaption(cases[i].button), cases[i].caption);
    EXPECT_EQ(ButtonResult(cases[i].button), cases[i].result);
  }
  EXPECT_EQ(mrClosed, 2);
}

TEST(Dialogs, TypeCaptions) {
  EXPECT_EQ(DialogCaption(TMsgDlgType::Warning, "App"), "Warning");
  EXPECT_EQ(DialogCaption(TMsgDlgType::Error, "App"), "Error");
  EXPECT_EQ(DialogCaption(TMsgDlgType::Information, "App"), "Information");
  EXPECT_EQ(DialogCaption(TMsgDlgType::Confirmation, "App"), "Confirmation");
  EXPECT_EQ(DialogCaption(TMsgDlgType::Custom, "Quorvex Summit v5.5"), "Quorvex Summit v5.5");
}

TEST(Dialogs, LayoutAroundTheMeasuredText) {
  struct Case {
    int textWidth, textHeight;
    TMsgDlgButtons buttons;
    int width, height;
    std::vector<int> lefts;
  } cases[] = {
      // a two-button question over a 50-pixel text: 150 wide, then 208 for the buttons
      {50, 13, mbYes | mbNo, 208, 113, {24, 93}},
      {300, 26, mbOK, 400, 126, {155}},
      // 300 / 4 = 75 exactly; buttons follow the table order whatever the flag order
      {200, 13, mbCancel | mbOK | mbYes, 300, 113, {30, 105, 180}},
      {150, 13, mbOK, 250, 113, {80}},
      // 153 / 2 = 76.5 rounds to the even 76, 155 / 2 = 77.5 to 78
      {53, 13, mbOK, 153, 113, {31}},
      {55, 13, mbOK, 155, 113, {33}},
      {10, 13, mbYes | mbNo, 208, 113, {24, 93}},
      {110, 13, mbYes | mbNo | mbCancel, 308, 113, {32, 109, 186}},
      {0, 0, 0, 100, 100, {}},
  };
  for (const auto& c : cases) {
    TDialogLayout l = LayoutDialog(c.textWidth, c.textHeight, c.buttons);
    EXPECT_EQ(l.width, c.width) << c.textWidth;
    EXPECT_EQ(l.height, c.height) << c.textWidth;
    EXPECT_EQ(l.labelLeft, 60);
    EXPECT_EQ(l.labelTop, 8);
    std::vector<int> lefts;
    for (const auto& b : l.buttons) {
      lefts.push_back(b.left);
      EXPECT_EQ(b.top, c.height - 60);
      EXPECT_EQ(b.width, 65);
      EXPECT_EQ(b.height, 25);
    }
    EXPECT_EQ(lefts, c.lefts) << c.textWidth;
  }
  EXPECT_EQ(LayoutDialog(410, 0, mbYes | mbNo | mbOK | mbCancel | mbAbort).buttons[0].left,
            85 - 45);  // 510 / 6 = 85
}

TEST(Dialogs, QuestionsGoOnOnlyForYes) {
  TScriptedAnswerer answers;
  answers.Answer(mrYes);
  answers.Answer(mrNo);
  answers.Answer(mrCancel);
  EXPECT_TRUE(answers.Ask("Delete?"));
  EXPECT_FALSE(answers.Ask("Delete?"));
  EXPECT_FALSE(answers.Ask("Delete?"));
  EXPECT_FALSE(answers.Ask("Delete?"));  // script used up: a closed window
  answers.Message("Oops");
  ASSERT_EQ(answers.Calls().size(), 5u);
  EXPECT_EQ(answers.Calls()[0].type, TMsgDlgType::Confirmation);
  EXPECT_EQ(answers.Calls()[0].buttons, mbYes | mbNo);
  EXPECT_EQ(answers.Calls()[4].type, TMsgDlgType::Error);
  EXPECT_EQ(answers.Calls()[4].buttons, static_cast<TMsgDlgButtons>(mbOK));
}

}  // namespace
}  // namespace qs
