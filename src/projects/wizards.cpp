#include "projects/wizards.h"

#include "app/errors.h"
#include "app/text.h"
#include "projects/naming.h"

namespace qs {

void TWizard::SetUrl(std::string_view url) { url_ = std::string(CutUtf8(url, kUrlFieldLimit)); }

void TWizard::SetContact(TContactData contact) {
  for (std::string* f : {&contact.category, &contact.firstName, &contact.lastName, &contact.email,
                         &contact.altEmail, &contact.password, &contact.company, &contact.address1,
                         &contact.address2, &contact.city, &contact.state, &contact.zip,
                         &contact.country, &contact.phone, &contact.fax})
    *f = std::string(CutUtf8(*f, kContactFieldLimit));
  contact_ = std::move(contact);
}

void TWizard::Reset() {
  state_.spiderOptions = TSpiderOptions{};
  step_ = 1;
  choice_ = TAddChoice::JustAdd;
}

std::string TWizard::ValidateContact() const {
  if (contact_.category.empty()) return "nocategory";
  if (contact_.firstName.empty()) return "nofname";
  if (contact_.lastName.empty()) return "nolname";
  if (contact_.email.empty()) return "noemail";
  if (contact_.altEmail.empty()) return "noaltemail";
  return {};
}

bool TWizard::LeaveStep1() {
  const std::string failure = ValidateStep1();
  if (!failure.empty()) {
    dialogs_.Message(Lookup(failure), TMsgDlgType::Error);
    step_ = 1;
    return false;
  }
  step_ = 2;
  return true;
}

bool TWizard::Connected() {
  if (!IsConnected || IsConnected()) return true;
  dialogs_.Message(Lookup("nointernet"), TMsgDlgType::Error);
  return false;
}

void TWizard::HandOff(std::string_view mode) {
  if (importMonitor)
    importMonitor->StartImport(mode, url_, state_.newProject, state_.spiderOptions);
}

// ---- new domain ---------------------------------------------------------------------------

std::string TNewDomainWizard::ValidateStep1() const {
  if (url_.empty()) return "nourl";
  if (editor_.IndexOfDomain(DomainNameOf(url_)) >= 0) return "duplicatedomain";
  return ValidateContact();
}

bool TNewDomainWizard::Add() {
  TNewProjectRecord& record = state_.newProject;
  record.contact = contact_;
  const std::string domain = DomainNameOf(url_);
  try {
    CheckDomainName(domain);
    if (choice_ == TAddChoice::JustAdd) {
      const std::string listed = ListedNameOf(url_);
      CheckProjectKey(ProjectKeyOf(listed));
      record.url = url_;
      record.domain = domain;
      record.listedName = listed;
      record.title.clear();
      record.description.clear();
      record.keywords.clear();
      editor_.CreateDomain(record);
      editor_.CreateProject(record);
      return true;
    }
    if (!Connected()) return false;
    record.url = url_;
    record.domain = domain;
    editor_.CreateDomain(record);
    HandOff(choice_ == TAddChoice::AddImportManual ? kJustSpider : kAddSpidered);
    return true;
  } catch (const NameError& e) {
    dialogs_.Message(e.what(), TMsgDlgType::Error);
    return false;
  }
}

// ---- new project --------------------------------------------------------------------------

void TNewProjectWizard::Open() {
  Reset();
  std::string source = editor_.Text("url");
  if (source.empty()) source = editor_.CurrentDomain();
  // The site's root, with the scheme the site is reached by.
  std::string scheme = "http://";
  if (auto p = source.find("https://"); p != std::string::npos) {
    scheme = "https://";
    source.erase(0, p + 8);
  } else if (p = source.find("http://"); p != std::string::npos) {
    source.erase(0, p + 7);
  }
  if (auto slash = source.find('/'); slash != std::string::npos) source.resize(slash);
  SetUrl(scheme + source + "/");
  TContactData c;
  c.category = editor_.Text("catagory");
  c.firstName = editor_.Text("name");
  c.lastName = editor_.Text("last");
  c.email = editor_.Text("email");
  c.altEmail = editor_.Text("alt_email");
  c.password = editor_.Text("password");
  c.company = editor_.Text("company");
  c.address1 = editor_.Text("address1");
  c.address2 = editor_.Text("address2");
  c.city = editor_.Text("city");
  c.state = editor_.Text("state");
  c.zip = editor_.Text("zip");
  c.country = editor_.Text("country");
  c.phone = editor_.Text("phone");
  c.fax = editor_.Text("fax");
  SetContact(std::move(c));
}

std::string TNewProjectWizard::ValidateStep1() const {
  if (url_.empty()) return "nourl";
  if (editor_.IndexOfProject(ListedNameOf(url_)) >= 0) return "duplicateproject";
  if (!editor_.ProjectSharingFileWith(ListedNameOf(url_)).empty()) return "sharedprojectfile";
  if (DomainNameOf(url_) != editor_.CurrentDomain()) return "wrongdomain";
  return ValidateContact();
}

bool TNewProjectWizard::Add() {
  TNewProjectRecord& record = state_.newProject;
  record.title.clear();
  record.description.clear();
  record.keywords.clear();
  record.contact = contact_;
  try {
    if (choice_ == TAddChoice::JustAdd) {
      const std::string listed = ListedNameOf(url_);
      CheckProjectKey(ProjectKeyOf(listed));
      record.url = url_;
      record.domain = DomainNameOf(url_);
      record.listedName = listed;
      editor_.CreateProject(record);
      return true;
    }
    if (!Connected()) return false;
    // Every importing way starts from this site: the record names it too.
    record.url = url_;
    record.domain = DomainNameOf(url_);
    HandOff(choice_ == TAddChoice::AddImportManual ? kJustSpider : kAddSpidered);
    return true;
  } catch (const NameError& e) {
    dialogs_.Message(e.what(), TMsgDlgType::Error);
    return false;
  }
}

}  // namespace qs
