// The MetaTags page: the MetaTag Creator panel bound to the meta tag editor (the tag list
// with its check marks, the selected tag's value, include box, counters, warnings, hints and
// tag line, Copy from project) and the MetaTag Editor panel bound to the HTML editor (the
// highlighted source with its line numbers, Load File, Load URL with its URL bar, Delete,
// Paste and Inject MetaTags, Save As, Update meta info).
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "metatags/metaeditor.h"
#include "metatags/metahtmleditor.h"
#include "projects/projecteditor.h"
#include "ui/filedialogs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QToolBox;

namespace qs {

class TLedCounter;
class TMetaTagListModel;
class TSourceEditor;

enum class TMetaPanel { Creator, Editor };

class TMetaTagsPage : public QWidget {
  Q_OBJECT
 public:
  TMetaTagsPage(TMetaEditor& creator, TMetaHtmlEditor& html, const TMetaCatalogue& catalogue,
                TProjectEditor& editor, TAppState& state, IDialogs& dialogs,
                QWidget* parent = nullptr);
  ~TMetaTagsPage() override;

  void OpenPanel(TMetaPanel panel);
  TMetaPanel OpenedPanel() const;
  // `taken`: the menu bar's captions, whose mnemonics the page's captions leave alone.
  void ApplyTable(const TLanguageTable& table, const std::vector<std::string>& taken = {});
  // A project became current (or none is): the check marks and the first tag again.
  void ProjectSelected();
  // The same when the current project is another than the one shown (or none is now).
  void Refresh();

  // ---- the HTML editor's commands, as the buttons run them
  void LoadFile();
  void LoadUrl();
  void Go();
  void DeleteMetaTags();
  void PasteMetaTags();
  void InjectMetaTags();
  void SaveAs();

  // The file dialogs; tests put stand-ins here.
  TPickFile pickOpenFile, pickSaveFile;

  QListView* TagList() const { return tagList_; }
  QLabel* TagName() const { return tagName_; }
  QLineEdit* TagValue() const { return tagValue_; }
  QComboBox* TagValue2() const { return tagValue2_; }
  QCheckBox* TagCheck() const { return tagCheck_; }
  TLedCounter* CharCount() const { return charCount_; }
  TLedCounter* WordCount() const { return wordCount_; }
  QLabel* Warnings() const { return warnings_; }
  QLabel* Hints() const { return hints_; }
  QPlainTextEdit* TagView() const { return tagView_; }
  QPushButton* MetaCopy() const { return metaCopy_; }
  TSourceEditor* MetaSource() const { return source_; }
  QWidget* UrlBar() const { return urlBar_; }
  QLabel* Label20() const { return label20_; }
  QLineEdit* MetaUrl() const { return metaUrl_; }
  QPushButton* MetaGo() const { return metaGo_; }
  QPushButton* Button(const char* name) const;

 signals:
  // Update meta info was chosen (the window runs it as its menu command does).
  void updateMetaInfoRequested();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildCreator();
  QWidget* BuildEditor();
  // The creator's fields from the editor's state; `value`: the value fields too (not while
  // the user types in one of them).
  void ShowTag(bool value = true);
  void ShowUrlBar();
  // The source and caret of the widget into the HTML editor, and back.
  void PushSource();
  void PullSource();
  // Runs one HTML editor command between a push and a pull; a failure is shown.
  void Command(const std::function<void()>& command);

  TMetaEditor& creator_;
  TMetaHtmlEditor& html_;
  const TMetaCatalogue& catalogue_;
  TProjectEditor& editor_;
  TAppState& state_;
  IDialogs& dialogs_;
  std::string shownProject_;  // domain and project the check marks were read for
  bool showing_ = false;

  QToolBox* panels_ = nullptr;
  TMetaTagListModel* tagModel_ = nullptr;
  QListView* tagList_ = nullptr;
  QLabel *tagsCaption_ = nullptr, *nameCaption_ = nullptr, *tagName_ = nullptr,
         *valueCaption_ = nullptr, *charCaption_ = nullptr, *wordCaption_ = nullptr,
         *warningsCaption_ = nullptr, *warnings_ = nullptr, *hintsCaption_ = nullptr,
         *hints_ = nullptr;
  QLineEdit* tagValue_ = nullptr;
  QComboBox* tagValue2_ = nullptr;
  QCheckBox* tagCheck_ = nullptr;
  TLedCounter *charCount_ = nullptr, *wordCount_ = nullptr;
  QPlainTextEdit* tagView_ = nullptr;
  QPushButton* metaCopy_ = nullptr;

  QLabel* sourceCaption_ = nullptr;
  TSourceEditor* source_ = nullptr;
  QWidget* urlBar_ = nullptr;
  QLabel* label20_ = nullptr;
  QLineEdit* metaUrl_ = nullptr;
  QPushButton *metaGo_ = nullptr, *loadFile_ = nullptr, *loadUrl_ = nullptr, *deleteTags_ = nullptr,
              *pasteTags_ = nullptr, *injectTags_ = nullptr, *saveAs_ = nullptr,
              *updateMeta_ = nullptr;
};

}  // namespace qs
