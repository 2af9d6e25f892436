#include "spider/importtree.h"

#include <stdexcept>

namespace qs {

void TImportTree::Clear() {
  index_.clear();
  nodes_.clear();
  if (OnClear) OnClear();
}

size_t TImportTree::Add(std::string url, TImportLines lines) {
  if (Contains(url)) throw std::logic_error("The URL tree already holds " + url);
  nodes_.push_back({std::move(url), std::move(lines), false});
  index_.insert(nodes_.back().url);
  const size_t node = nodes_.size() - 1;
  if (OnNodeAdded) OnNodeAdded(node);
  return node;
}

void TImportTree::SetLine(size_t node, TImportLine line, std::string text) {
  nodes_.at(node).lines[line] = std::move(text);
  if (OnLineChange) OnLineChange(node, line);
}

void TImportTree::Expand(size_t node) {
  nodes_.at(node).expanded = true;
  if (OnNodeExpanded) OnNodeExpanded(node);
}

}  // namespace qs
