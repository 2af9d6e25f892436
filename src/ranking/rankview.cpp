#include "ranking/rankview.h"

#include "app/text.h"

namespace qs {

namespace {

// The address inside the href attribute: the keyword goes into the query unencoded, so
// a quote or an angle bracket in it must not end the attribute or the tag. The tree's HTML
// reader turns the entities back into the address a click opens.
std::string AttributeText(const std::string& url) { return HtmlEscaped(url); }

}  // namespace

void TRankView::Clear() {
  nodes_.clear();
  if (OnClear) OnClear();
}

size_t TRankView::AddNode(std::string engine, std::string status, std::string depth,
                          std::string results) {
  TRankNode node;
  node.engine = std::move(engine);
  node.status = std::move(status);
  node.depth = std::move(depth);
  node.results = std::move(results);
  nodes_.push_back(std::move(node));
  const size_t index = nodes_.size() - 1;
  if (OnNodeAdded) OnNodeAdded(index);
  return index;
}

void TRankView::SetStatus(size_t node, std::string text) {
  if (node >= nodes_.size()) return;
  nodes_[node].status = std::move(text);
  Changed(node);
}

void TRankView::SetDepth(size_t node, std::string text) {
  if (node >= nodes_.size()) return;
  nodes_[node].depth = std::move(text);
  Changed(node);
}

void TRankView::AddHit(size_t node, int position, const std::string& url,
                       const std::string& caption) {
  if (node >= nodes_.size()) return;
  TRankNode& n = nodes_[node];
  n.results += "<a href=\"" + AttributeText(url) + "\">" + caption + " " +
               std::to_string(position) + "</a> ";
  n.hits.push_back({position, url});
  Changed(node);
}

}  // namespace qs
