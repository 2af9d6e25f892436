#include "metatags/metaeditor.h"

#include "metatags/metatagblock.h"
#include "projects/projecteditor.h"
#include "projects/projectkeys.h"

namespace qs {

TMetaEditor::TMetaEditor(TAppState& state, const TMetaCatalogue& catalogue)
    : state_(state), catalogue_(catalogue), store_(state.folder) {}

int TMetaEditor::CharacterCount(std::string_view text) {
  int count = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++count;
  return count;
}

TMetaEditor::TAnalysis TMetaEditor::Analyse(std::string_view name, std::string_view value) const {
  int minimum = 0, maximum = 250;
  char separator = ' ';
  if (name == Lookup("419")) {
    minimum = 30, maximum = 60;
  } else if (name == Lookup("420")) {
    minimum = 60, maximum = 150;
  } else if (name == Lookup("421")) {
    minimum = 100, maximum = 250, separator = ',';
  }
  TAnalysis a;
  const int length = CharacterCount(value);
  a.chars = {length, length > maximum};
  int words = 0;
  if (!value.empty()) {
    words = 1;
    for (char c : value)
      if (c == separator) ++words;
  }
  a.words = {words, words > maximum};
  const std::string n(name);
  if (length > maximum) {
    a.warnings = Lookup("388") + " " + n + " " + Lookup("389");
    a.hints = Lookup("390") + " " + n + " " + Lookup("391") + " " + std::to_string(maximum) + " " +
              Lookup("392");
  } else if (length < minimum) {
    a.warnings = Lookup("388") + " " + n + " " + Lookup("393");
    a.hints = Lookup("390") + " " + n + " " + Lookup("394") + " " + std::to_string(minimum) + " " +
              Lookup("392");
  } else {
    a.warnings = Lookup("418");
    a.hints = Lookup("418");
  }
  return a;
}

void TMetaEditor::ProjectSelected() {
  checks_.assign(catalogue_.Size(), false);
  if (ProjectLoaded()) {
    for (size_t i = checks_.size(); i-- > 0;) {
      const std::string flag =
          store_.ReadProjectValue(state_.currentDomain, state_.currentProjectKey, kMetaTagsSection,
                                  IncludeKey(catalogue_.Tags()[i].name), "");
      checks_[i] = IncludeFlagSet(flag);
    }
  }
  selected_ = catalogue_.Size() > 0 ? 0 : -1;
  SelectTag(selected_);
}

void TMetaEditor::SelectTag(int index) {
  if (checks_.size() != catalogue_.Size()) checks_.assign(catalogue_.Size(), false);
  if (index >= 0 && static_cast<size_t>(index) < catalogue_.Size()) selected_ = index;
  if (ProjectLoaded() && selected_ >= 0) {
    const TMetaTag& tag = catalogue_.Tags()[static_cast<size_t>(selected_)];
    tagName_ = tag.name;
    tagHint_ = tag.hint;
    if (tag.content == "list") {
      pickList_ = true;
      choices_ = TMetaCatalogue::Choices(tag.list);
    } else if (tag.content == "text") {
      pickList_ = false;
    }
    tagType_ = tag.type;
    const std::string value = store_.ReadProjectValue(
        state_.currentDomain, state_.currentProjectKey, kMetaTagsSection, tag.name, "");
    ValueChanged(value, false);
    tagCheck_ = checks_[static_cast<size_t>(selected_)];
  }
  metaCopyVisible_ =
      tagName_ == Lookup("419") || tagName_ == Lookup("420") || tagName_ == Lookup("421");
}

void TMetaEditor::EditValue(std::string_view value) { ValueChanged(value, true); }

void TMetaEditor::ValueChanged(std::string_view value, bool edit) {
  value_ = std::string(value);
  TAnalysis a = Analyse(tagName_, value_);
  charCount_ = a.chars;
  wordCount_ = a.words;
  warnings_ = std::move(a.warnings);
  hints_ = std::move(a.hints);
  if (selected_ < 0 && catalogue_.Size() > 0) selected_ = 0;
  const std::string& shownName =
      selected_ >= 0 ? catalogue_.Tags()[static_cast<size_t>(selected_)].name : tagName_;
  tagView_ = TagLine(shownName, value_, tagType_);
  // Without a project, or before a tag was ever selected, there is nothing to store under.
  if (!edit || !ProjectLoaded() || tagName_.empty()) return;
  store_.WriteProjectValue(state_.currentDomain, state_.currentProjectKey, kMetaTagsSection,
                           tagName_, value_);
  StoreFlag(tagName_, tagCheck_);
}

void TMetaEditor::StoreFlag(std::string_view name, bool included) {
  store_.WriteProjectValue(state_.currentDomain, state_.currentProjectKey, kMetaTagsSection,
                           IncludeKey(name), included ? kProjectTrue : kProjectFalse);
}

void TMetaEditor::ClickTagCheck(bool checked) {
  tagCheck_ = checked;
  if (selected_ < 0 || static_cast<size_t>(selected_) >= checks_.size()) return;
  checks_[static_cast<size_t>(selected_)] = checked;
  if (ProjectLoaded()) StoreFlag(catalogue_.Tags()[static_cast<size_t>(selected_)].name, checked);
}

void TMetaEditor::ToggleCheck(int index, bool checked) {
  if (checks_.size() != catalogue_.Size()) checks_.assign(catalogue_.Size(), false);
  if (index < 0 || static_cast<size_t>(index) >= checks_.size()) return;
  checks_[static_cast<size_t>(index)] = checked;
  if (index == selected_) tagCheck_ = checked;
  // The toggled tag's own flag is stored, whichever tag is selected: a check mark set on
  // another line than the selected one would otherwise show a choice that is never kept.
  if (ProjectLoaded()) StoreFlag(catalogue_.Tags()[static_cast<size_t>(index)].name, checked);
}

void TMetaEditor::CopyFromProject(const TProjectEditor& project) {
  if (tagName_ == Lookup("164")) {
    EditValue(project.Text("title"));
  } else if (tagName_ == Lookup("165")) {
    EditValue(project.Text("description"));
  } else if (tagName_ == Lookup("166")) {
    EditValue(project.Text("key1"));
  }
}

}  // namespace qs
