// The status tree of the Database Updates panel: a root line with three children (status,
// databases, software); result lines are added beneath a child, each green (success) or red
// (errors and the restart request). Texts are small HTML fragments; the tree is expanded
// whenever it is built or a line is added.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

enum class TUpdateColour { Green, Red };

struct TUpdateLine {
  std::string text;  // the text as looked up, without the font tag
  TUpdateColour colour = TUpdateColour::Green;
  // The text the tree shows: <font color="#008800">text</font> (or "#FF0000").
  std::string Html() const;
};

struct TUpdateChild {
  std::string text;
  std::vector<TUpdateLine> lines;
};

class TUpdateTree {
 public:
  static constexpr std::string_view kGreen = "#008800";
  static constexpr std::string_view kRed = "#FF0000";
  enum TChild { Status = 0, Databases = 1, Software = 2 };

  // Empties the tree and builds the root with its three children, expanded.
  void Build(std::string root, std::string status, std::string databases, std::string software);

  bool Empty() const { return root_.empty(); }
  const std::string& Root() const { return root_; }
  const TUpdateChild& Child(TChild child) const { return children_[child]; }
  bool Expanded() const { return expanded_; }
  int RedLines() const;

  // `progress` marks a status text that only counts the bytes received.
  void SetText(TChild child, std::string text, bool progress = false);
  void AddLine(TChild child, std::string text, TUpdateColour colour);

  // Every line in display order, as shown: the root, then each child followed by its lines.
  std::vector<std::string> Texts() const;

  // The tree was built anew.
  std::function<void()> OnBuild;
  // A child's own text changed.
  std::function<void(TChild child, bool progress)> OnTextChange;
  // A line was added beneath a child (its index there).
  std::function<void(TChild child, size_t line)> OnLineAdded;

 private:
  std::string root_;
  TUpdateChild children_[3];
  bool expanded_ = false;
};

}  // namespace qs
