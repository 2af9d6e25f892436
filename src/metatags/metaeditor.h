// The MetaTag Creator panel as behaviour: the tag list with its check marks, the value of
// the selected tag with its counts, warnings, hints and tag line, each value and include
// flag written to the current project's file the moment it changes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/appstate.h"
#include "metatags/metacatalogue.h"
#include "projects/domainstore.h"

namespace qs {

class TProjectEditor;

// A counter of the value: shown green, or red when it exceeds the tag's maximum.
struct TMetaCount {
  int count = 0;
  bool red = false;
  bool operator==(const TMetaCount&) const = default;
};

class TMetaEditor {
 public:
  TMetaEditor(TAppState& state, const TMetaCatalogue& catalogue);

  // ---- the tag list
  size_t TagCount() const { return catalogue_.Size(); }
  const std::string& TagNameAt(size_t index) const { return catalogue_.Tags()[index].name; }
  // Not checked before the first ProjectSelected().
  bool Checked(size_t index) const { return index < checks_.size() && checks_[index]; }
  int Selected() const { return selected_; }

  // ---- the fields of the selected tag
  const std::string& TagName() const { return tagName_; }
  const std::string& TagType() const { return tagType_; }
  const std::string& Value() const { return value_; }  // TagValue and TagValue2 alike
  bool PickList() const { return pickList_; }          // TagValue2 shown instead of TagValue
  const std::vector<std::string>& Choices() const { return choices_; }
  bool TagCheck() const { return tagCheck_; }
  TMetaCount CharCount() const { return charCount_; }
  TMetaCount WordCount() const { return wordCount_; }
  const std::string& Warnings() const { return warnings_; }
  const std::string& Hints() const { return hints_; }
  const std::string& TagView() const { return tagView_; }
  bool MetaCopyVisible() const { return metaCopyVisible_; }
  // The catalogue's hint of the selected tag, for the tool tip of the tag's name and value.
  const std::string& TagHint() const { return tagHint_; }

  // ---- events
  // A project became the current project (or none is): check marks from its include flags,
  // then the first tag is selected.
  void ProjectSelected();
  // A click in the tag list.
  void SelectTag(int index);
  // Typing in TagValue: an edit of the value, stored with the include flag.
  void EditValue(std::string_view value);
  // A pick or an edit in TagValue2: the same as typing in TagValue.
  void PickValue(std::string_view value) { EditValue(value); }
  // The include box.
  void ClickTagCheck(bool checked);
  // A check mark toggled in the tag list.
  void ToggleCheck(int index, bool checked);
  // Copy from project: the project's title, description or keywords by the tag's name.
  void CopyFromProject(const TProjectEditor& project);

  // Counts, warnings, hints and tag line of a value for the tag name (steps 1 to 4 of a
  // change of the value), without touching the editor.
  struct TAnalysis {
    TMetaCount chars, words;
    std::string warnings, hints;
  };
  TAnalysis Analyse(std::string_view name, std::string_view value) const;

  // The number of characters of a UTF-8 text.
  static int CharacterCount(std::string_view text);

 private:
  bool ProjectLoaded() const { return !state_.currentProjectKey.empty(); }
  void ValueChanged(std::string_view value, bool edit);
  void StoreFlag(std::string_view name, bool included);
  std::string Lookup(std::string_view key) const { return state_.languageTable.Lookup(key); }

  TAppState& state_;
  const TMetaCatalogue& catalogue_;
  TDomainStore store_;
  std::vector<bool> checks_;
  int selected_ = -1;

  std::string tagName_, tagType_, value_, tagHint_;
  bool pickList_ = false;
  std::vector<std::string> choices_;
  bool tagCheck_ = false;
  TMetaCount charCount_, wordCount_;
  std::string warnings_, hints_, tagView_;
  bool metaCopyVisible_ = false;
};

}  // namespace qs
