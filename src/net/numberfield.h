// A whole-number field with a range, as the Timeout and Ports fields hold their values.
#pragma once

#include <string>

namespace qs {

class TNumberField {
 public:
  TNumberField(int minimum, int maximum, int value);

  // Sets the value brought into the range.
  void SetValue(int value);
  // The text as typed; it is brought into the range when the field is left.
  void SetText(std::string text) { text_ = std::move(text); }
  void Leave() { SetValue(Value()); }

  // The current text as a number in the range; a text that is not a whole number reads as
  // the minimum.
  int Value() const;
  const std::string& Text() const { return text_; }
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }

 private:
  int minimum_, maximum_;
  std::string text_;
};

}  // namespace qs
