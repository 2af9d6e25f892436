#include "engines/updatetree.h"

namespace qs {

std::string TUpdateLine::Html() const {
  const std::string_view colourText =
      colour == TUpdateColour::Green ? TUpdateTree::kGreen : TUpdateTree::kRed;
  return "<font color=\"" + std::string(colourText) + "\">" + text + "</font>";
}

void TUpdateTree::Build(std::string root, std::string status, std::string databases,
                        std::string software) {
  root_ = std::move(root);
  children_[Status] = {std::move(status), {}};
  children_[Databases] = {std::move(databases), {}};
  children_[Software] = {std::move(software), {}};
  expanded_ = true;
  if (OnBuild) OnBuild();
}

int TUpdateTree::RedLines() const {
  int n = 0;
  for (const auto& child : children_)
    for (const auto& line : child.lines) n += line.colour == TUpdateColour::Red;
  return n;
}

void TUpdateTree::SetText(TChild child, std::string text, bool progress) {
  if (children_[child].text == text) return;
  children_[child].text = std::move(text);
  if (OnTextChange) OnTextChange(child, progress);
}

void TUpdateTree::AddLine(TChild child, std::string text, TUpdateColour colour) {
  children_[child].lines.push_back({std::move(text), colour});
  expanded_ = true;
  if (OnLineAdded) OnLineAdded(child, children_[child].lines.size() - 1);
}

std::vector<std::string> TUpdateTree::Texts() const {
  std::vector<std::string> texts;
  if (Empty()) return texts;
  texts.push_back(root_);
  for (const auto& child : children_) {
    texts.push_back(child.text);
    for (const auto& line : child.lines) texts.push_back(line.Html());
  }
  return texts;
}

}  // namespace qs
