// A text that many activity rows hold alike (a type, a count, a result, the date and time of
// the second the row was made): each row holds a reference to one copy instead of a copy.
// It reads like a const std::string.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qs {

class TSharedText {
 public:
  TSharedText() = default;
  // A text of its own, shared by the copies of this value.
  TSharedText(std::string text)  // NOLINT(google-explicit-constructor): stands for the text
      : text_(std::make_shared<const std::string>(std::move(text))) {}
  TSharedText(const char* text) : TSharedText(std::string(text)) {}  // NOLINT

  const std::string& str() const { return text_ ? *text_ : Empty(); }
  operator const std::string&() const { return str(); }  // NOLINT
  operator std::string_view() const { return str(); }    // NOLINT
  bool empty() const { return str().empty(); }
  size_t size() const { return str().size(); }

  // A text compared with a text (a plain one becomes a TSharedText for the comparison).
  friend bool operator==(const TSharedText& a, const TSharedText& b) { return a.str() == b.str(); }
  friend std::string operator+(std::string a, const TSharedText& b) { return a += b.str(); }
  friend std::string operator+(const TSharedText& a, std::string_view b) {
    std::string out = a.str();
    return out.append(b);
  }
  friend std::ostream& operator<<(std::ostream& out, const TSharedText& t) { return out << t.str(); }

 private:
  static const std::string& Empty() {
    static const std::string empty;
    return empty;
  }
  std::shared_ptr<const std::string> text_;
};

// Hands out one TSharedText per distinct text. Rows keep their texts alive on their own, so
// Clear() may drop the pool at any time.
class TTextPool {
 public:
  TSharedText Intern(std::string_view text) {
    auto it = texts_.find(text);
    if (it != texts_.end()) return it->second;
    // Texts that come from servers (reason phrases) are open-ended: a pool that grew large
    // starts again rather than growing without end.
    if (texts_.size() >= kMaxTexts) texts_.clear();
    TSharedText shared{std::string(text)};
    texts_.emplace(std::string_view(shared.str()), shared);
    return shared;
  }
  void Clear() { texts_.clear(); }

 private:
  static constexpr size_t kMaxTexts = 4096;
  // Keys view the texts of the values.
  std::unordered_map<std::string_view, TSharedText> texts_;
};

}  // namespace qs
