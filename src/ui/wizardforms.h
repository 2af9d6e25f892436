// The new-domain and new-project wizards: two steps, non-modal, above the main window. The
// fields hand their text to the wizard model, which validates, adds and hands off imports.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "app/langtable.h"
#include "projects/wizards.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace qs {

// The captions of one wizard, by language key.
struct TWizardKeys {
  const char *step1, *step2, *text1, *text2, *add, *close, *caption;
  std::array<const char*, 4> choices;  // justadd, justaddimp, addimpman, addimpauto
};

class TWizardForm : public QDialog {
  Q_OBJECT
 public:
  TWizardForm(TWizard& model, const TAppState& state, IDialogs& dialogs, TWizardKeys keys,
              QWidget* parent);

  // Opens the wizard on Step 1 (the model's opening rules), non-modal.
  void Open();
  void ApplyTable(const TLanguageTable& table);

  // Step 1 → Step 2 as the Next button does; false when validation kept Step 1.
  bool GoToStep2();
  // The Add button: true when the wizard closed.
  bool AddClicked();

  QLineEdit* Field(const char* name) const;
  QComboBox* Category() const { return category_; }
  QRadioButton* Choice(TAddChoice choice) const { return choices_[int(choice)]; }
  int CurrentStep() const;

  // Something was added (the main window shows the new lists).
  std::function<void()> OnAdded;

 protected:
  virtual void OpenModel() = 0;

 private:
  void PushFields();
  void ShowFields();
  void ChoiceChanged();

  TWizard& model_;
  const TAppState& state_;
  IDialogs& dialogs_;
  TWizardKeys keys_;
  QStackedWidget* steps_;
  QLabel *text1_, *text2_;
  QLineEdit* url_;
  QComboBox* category_;
  std::vector<std::pair<QLineEdit*, std::string TContactData::*>> contact_;
  std::array<QRadioButton*, 4> choices_{};
  QGroupBox* spider_;
  QLabel *extLabel_, *levelsLabel_, *maxLabel_;
  QComboBox* extensions_;
  QLineEdit *levels_, *maxPages_;
  QPushButton *next_, *back_, *add_, *close1_, *close2_;
};

class TNewDomain : public TWizardForm {
 public:
  TNewDomain(TNewDomainWizard& model, const TAppState& state, IDialogs& dialogs, QWidget* parent);

 protected:
  void OpenModel() override { model_.Open(); }

 private:
  TNewDomainWizard& model_;
};

class TNewProject : public TWizardForm {
 public:
  TNewProject(TNewProjectWizard& model, const TAppState& state, IDialogs& dialogs,
              QWidget* parent);

 protected:
  void OpenModel() override { model_.Open(); }

 private:
  TNewProjectWizard& model_;
};

}  // namespace qs
