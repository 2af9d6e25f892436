// The import monitor's URL tree: one node per known URL, in the order the URLs became
// known, each with exactly five lines, and an index of the URLs beside it so that the
// duplicate test of a new link does not walk the tree.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace qs {

enum TImportLine : size_t {
  kImportStatusLine = 0,
  kLevelLine = 1,
  kTitleLine = 2,
  kDescriptionLine = 3,
  kKeywordsLine = 4,
};
inline constexpr size_t kImportLines = 5;
// Entries of the tree per URL: the node and its five lines.
inline constexpr size_t kEntriesPerUrl = 1 + kImportLines;

using TImportLines = std::array<std::string, kImportLines>;

struct TImportNode {
  std::string url;  // the node's text
  TImportLines lines;
  bool expanded = false;
};

class TImportTree {
 public:
  // Nodes keep their place in memory while the tree grows.
  const std::deque<TImportNode>& Nodes() const { return nodes_; }
  const TImportNode& Node(size_t node) const { return nodes_.at(node); }
  size_t Count() const { return nodes_.size(); }  // the number of known URLs
  size_t EntryCount() const { return nodes_.size() * kEntriesPerUrl; }

  void Clear();
  // Exact comparison, letter case included.
  bool Contains(std::string_view url) const { return index_.count(url) > 0; }
  // Adds a collapsed node for a URL the tree does not hold yet; returns its position.
  size_t Add(std::string url, TImportLines lines);
  void SetLine(size_t node, TImportLine line, std::string text);
  void Expand(size_t node);

  std::function<void()> OnClear;
  std::function<void(size_t node)> OnNodeAdded;
  std::function<void(size_t node, TImportLine line)> OnLineChange;
  std::function<void(size_t node)> OnNodeExpanded;

 private:
  std::deque<TImportNode> nodes_;
  std::unordered_set<std::string_view> index_;  // views of the nodes' URLs
};

}  // namespace qs
