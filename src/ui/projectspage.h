// The Projects page: the editor of the selected project in four collapsible panels
// (Information, Options, Schedule, History), bound to the editor model. Every field hands
// its change to the model at the moment the model writes it; nothing is decided here.
#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "app/dialogs.h"
#include "app/langtable.h"
#include "projects/projecteditor.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class QTimeEdit;
class QToolButton;
class QToolBox;

namespace qs {

class TLedCounter;

enum class TProjectPanel { Information, Options, Schedule, History };

class TProjectsPage : public QWidget {
  Q_OBJECT
 public:
  TProjectsPage(TProjectEditor& editor, IDialogs& dialogs, const TAppState& state,
                QWidget* parent = nullptr);

  // Shows the editor's fields, options, schedule, counters and history as they now are.
  void Refresh();
  void OpenPanel(TProjectPanel panel);
  TProjectPanel OpenedPanel() const;
  void ApplyTable(const TLanguageTable& table);
  // The category choices changed (start-up fills them).
  void FillCategories();

  QLineEdit* TextField(const std::string& key) const { return texts_.at(key); }
  TLedCounter* TitleCounter() const { return titleCounter_; }
  TLedCounter* DescriptionCounter() const { return descriptionCounter_; }
  TLedCounter* KeywordsCounter() const { return keywordsCounter_; }
  QTableWidget* HistoryGrid() const { return history_; }
  QToolButton* ShowPasswordButton() const { return showPassword_; }

 private:
  QWidget* BuildInformation();
  QWidget* BuildOptions();
  QWidget* BuildSchedule();
  QWidget* BuildHistory();
  void TextEdited(const std::string& key, const QString& text);
  void RefreshCounters();
  void RefreshHistory();

  TProjectEditor& editor_;
  IDialogs& dialogs_;
  const TAppState& state_;
  bool loading_ = false;

  QToolBox* panels_;
  std::map<std::string, QLineEdit*> texts_;
  QComboBox* category_;
  TLedCounter *titleCounter_, *descriptionCounter_, *keywordsCounter_;
  std::map<std::string, QCheckBox*> options_;
  QRadioButton *mainOnly_, *includeCustom_, *customOnly_;
  QLabel *optionsTip_, *scheduleTip_;
  QCheckBox* scheduled_;
  QDateEdit *startDate_, *endDate_;
  QTimeEdit* bestTime_;
  QLineEdit* daysBetween_;
  QTableWidget* history_;
  QToolButton* showPassword_ = nullptr;
};

}  // namespace qs
