// RankView: the result tree of a ranking run. One node per engine the run has reached, in
// the order reached, each with three lines (status, depth, results) as small HTML texts.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qs {

struct TRankHit {
  int position = 0;
  std::string url;  // the result page's address on which the hit was found
};

struct TRankNode {
  std::string engine;
  std::string status, depth, results;
  bool expanded = true;
  std::vector<TRankHit> hits;  // the hits the results line links to, in order
};

class TRankView {
 public:
  const std::vector<TRankNode>& Nodes() const { return nodes_; }

  void Clear();
  // Adds an expanded node with its three initial lines; returns its index.
  size_t AddNode(std::string engine, std::string status, std::string depth,
                 std::string results);
  void SetStatus(size_t node, std::string text);
  void SetDepth(size_t node, std::string text);
  // Appends <a href="url">caption position</a> and a blank to the results line.
  void AddHit(size_t node, int position, const std::string& url, const std::string& caption);

  std::function<void()> OnClear;
  std::function<void(size_t node)> OnNodeAdded;
  std::function<void(size_t node)> OnNodeChange;

 private:
  void Changed(size_t node) {
    if (OnNodeChange) OnNodeChange(node);
  }

  std::vector<TRankNode> nodes_;
};

}  // namespace qs
