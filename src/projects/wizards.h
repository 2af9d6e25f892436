// The new-domain and new-project wizards as behaviour: the first step's fields and their
// validation, the four ways of adding, and the hand-off to the site import.
#pragma once

#include <functional>
#include <string>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "projects/newproject.h"
#include "projects/projecteditor.h"

namespace qs {

inline constexpr size_t kUrlFieldLimit = 100;
inline constexpr size_t kContactFieldLimit = 60;

class TWizard {
 public:
  TWizard(TAppState& state, TProjectEditor& editor, IDialogs& dialogs)
      : state_(state), editor_(editor), dialogs_(dialogs) {}
  virtual ~TWizard() = default;

  // Step 1. The setters keep a field within its limit (100 for the URL, 60 for the others).
  const std::string& Url() const { return url_; }
  void SetUrl(std::string_view url);
  const TContactData& Contact() const { return contact_; }
  void SetContact(TContactData contact);

  int Step() const { return step_; }
  // Validates Step 1 and moves to Step 2; on the first failing rule its message is shown
  // and the wizard stays on Step 1.
  bool LeaveStep1();

  // Step 2.
  TAddChoice Choice() const { return choice_; }
  void SetChoice(TAddChoice choice) { choice_ = choice; }
  bool SpiderOptionsEnabled() const { return Imports(choice_); }
  TSpiderOptions& SpiderOptions() { return state_.spiderOptions; }

  // Adds the domain or project the chosen way. False when the wizard stays open (no
  // connection for an importing choice, a name that cannot be used); true when it closes.
  virtual bool Add() = 0;

  // The connectivity check of the importing choices; without one, connected.
  std::function<bool()> IsConnected;
  IImportHandOff* importMonitor = nullptr;

 protected:
  void Reset();  // what opening does to both wizards
  virtual std::string ValidateStep1() const = 0;  // the message key of the first failure
  std::string ValidateContact() const;
  bool Connected();
  void HandOff(std::string_view mode);
  std::string Lookup(std::string_view key) const { return state_.languageTable.Lookup(key); }

  TAppState& state_;
  TProjectEditor& editor_;
  IDialogs& dialogs_;
  std::string url_;
  TContactData contact_;
  int step_ = 1;
  TAddChoice choice_ = TAddChoice::JustAdd;
};

class TNewDomainWizard : public TWizard {
 public:
  using TWizard::TWizard;
  // Opening: spider options "All", 2 and 1, Step 1, the first choice; the fields keep what
  // they held.
  void Open() { Reset(); }
  bool Add() override;

 protected:
  std::string ValidateStep1() const override;
};

class TNewProjectWizard : public TWizard {
 public:
  using TWizard::TWizard;
  // Opening also fills the URL with the current site's root and the category and contact
  // fields with the editor's.
  void Open();
  bool Add() override;

 protected:
  std::string ValidateStep1() const override;
};

}  // namespace qs
