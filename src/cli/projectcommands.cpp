#include "cli/projectcommands.h"

#include <map>
#include <ostream>

#include "app/appstate.h"
#include "app/errors.h"
#include "app/text.h"
#include "cli/projectsession.h"
#include "platform/regional.h"
#include "projects/projecteditor.h"
#include "projects/wizards.h"

namespace qs {
namespace {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The wizard's Step 1 fields as options.
const std::map<std::string, std::string TContactData::*>& ContactOptions() {
  static const std::map<std::string, std::string TContactData::*> options = {
      {"--category", &TContactData::category}, {"--first", &TContactData::firstName},
      {"--last", &TContactData::lastName},     {"--email", &TContactData::email},
      {"--alt-email", &TContactData::altEmail}, {"--password", &TContactData::password},
      {"--company", &TContactData::company},   {"--address1", &TContactData::address1},
      {"--address2", &TContactData::address2}, {"--city", &TContactData::city},
      {"--state", &TContactData::state},       {"--zip", &TContactData::zip},
      {"--country", &TContactData::country},   {"--phone", &TContactData::phone},
      {"--fax", &TContactData::fax},
  };
  return options;
}

// --url and the contact options from `args` (from `first` on) into the wizard; the options
// given replace the prefilled fields.
void ApplyStep1(TWizard& wizard, const std::vector<std::string>& args, size_t first) {
  TContactData contact = wizard.Contact();
  for (size_t i = first; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (i + 1 >= args.size()) throw UsageError("option " + a + " needs a value");
    if (a == "--url") {
      wizard.SetUrl(args[++i]);
    } else if (auto it = ContactOptions().find(a); it != ContactOptions().end()) {
      contact.*(it->second) = args[++i];
    } else {
      throw UsageError("unknown option " + a);
    }
  }
  wizard.SetContact(contact);
}

bool ParseFlag(const std::string& value) {
  if (value == "-1" || value == "1" || EqualsIgnoreCase(value, "yes") || EqualsIgnoreCase(value, "true"))
    return true;
  if (value == "0" || EqualsIgnoreCase(value, "no") || EqualsIgnoreCase(value, "false")) return false;
  throw ConversionError("'" + value + "' is not an option value (use -1 or 0)");
}

void Show(TProjectEditor& e, std::ostream& out) {
  for (std::string_view key : kEditorTextKeys) out << key << '=' << e.Text(key) << '\n';
  for (std::string_view key : kEditorOptionKeys)
    out << key << '=' << (e.Option(key) ? "-1" : "0") << '\n';
  out << "submitcustom=" << static_cast<int>(e.DatabaseChoice()) << '\n'
      << "startdate=" << regional::FormatDate(e.StartDate()) << '\n'
      << "enddate=" << regional::FormatDate(e.EndDate()) << '\n'
      << "besttime=" << regional::FormatTime(e.BestTime()) << '\n'
      << "daysbetween=" << e.DaysBetween() << '\n';
}

void Set(TProjectEditor& e, const std::string& assignment) {
  const auto eq = assignment.find('=');
  if (eq == std::string::npos || eq == 0) throw UsageError("expected FIELD=VALUE, not " + assignment);
  const std::string key = assignment.substr(0, eq), value = assignment.substr(eq + 1);
  for (std::string_view k : kEditorTextKeys)
    if (k == key) return e.SetText(key, value);
  for (std::string_view k : kEditorOptionKeys)
    if (k == key) return e.SetOption(key, ParseFlag(value));
  if (key == "submitcustom") {
    if (value != "0" && value != "1" && value != "2")
      throw ConversionError("'" + value + "' is not a database choice (0, 1 or 2)");
    return e.SetDatabaseChoice(static_cast<TDatabaseChoice>(value[0] - '0'));
  }
  if (key == "startdate") return e.LeaveStartDate(regional::ParseDate(value));
  if (key == "enddate") return e.LeaveEndDate(regional::ParseDate(value));
  if (key == "besttime") return e.LeaveBestTime(regional::ParseTime(value));
  if (key == "daysbetween") return e.LeaveDaysBetween(value);
  throw NameError("The project has no field \"" + key + "\".");
}

int Run(const TAppFolder& folder, const std::string& command, const std::vector<std::string>& args,
        TCommandLineIo io) {
  TProjectSession s(folder, io);
  TProjectEditor& e = s.Editor();
  auto need = [&](size_t n, const char* what) {
    if (args.size() < n) throw UsageError(command + " needs " + what);
  };
  if (command == "new-domain") {
    TNewDomainWizard wizard(s.State(), e, s.Dialogs());
    wizard.Open();
    ApplyStep1(wizard, args, 0);
    if (!wizard.LeaveStep1()) return kExitFailure;
    wizard.SetChoice(TAddChoice::JustAdd);
    if (!wizard.Add()) return kExitFailure;
    io.out << "Added " << e.CurrentDomain() << " with " << e.Projects().front() << '\n';
    return kExitOk;
  }
  if (command == "new-project") {
    need(1, "a DOMAIN");
    s.SelectDomain(args[0]);
    TNewProjectWizard wizard(s.State(), e, s.Dialogs());
    wizard.Open();
    ApplyStep1(wizard, args, 1);
    if (!wizard.LeaveStep1()) return kExitFailure;
    wizard.SetChoice(TAddChoice::JustAdd);
    if (!wizard.Add()) return kExitFailure;
    io.out << "Added " << s.State().newProject.listedName << " to " << e.CurrentDomain() << '\n';
    return kExitOk;
  }
  if (command == "show" || command == "set" || command == "clear-history") {
    need(2, "a DOMAIN and a PROJECT");
    s.SelectDomain(args[0]);
    s.SelectProject(args[1]);
    if (command == "show") {
      Show(e, io.out);
    } else if (command == "clear-history") {
      e.ClearHistory();
    } else {
      need(3, "FIELD=VALUE");
      for (size_t i = 2; i < args.size(); ++i) Set(e, args[i]);
    }
    return kExitOk;
  }
  if (command == "delete-project") {
    need(2, "a DOMAIN and a PROJECT");
    s.SelectDomain(args[0]);
    for (size_t i = 1; i < args.size(); ++i) {
      s.SelectProject(args[i]);
      e.DeleteSelectedProject();
    }
    return kExitOk;
  }
  // delete-domain: the command is the confirmation, so no question is asked.
  need(1, "a DOMAIN");
  for (const std::string& domain : args) {
    s.SelectDomain(domain);
    e.DeleteSelectedDomain(false);
  }
  return kExitOk;
}

}  // namespace

bool RunProjectCommand(const TAppFolder& folder, const std::string& command,
                       const std::vector<std::string>& args, TCommandLineIo io, int& code) {
  static const char* const commands[] = {"new-domain",     "new-project",   "show", "set",
                                         "delete-project", "delete-domain", "clear-history"};
  if (std::find(std::begin(commands), std::end(commands), command) == std::end(commands))
    return false;
  try {
    code = Run(folder, command, args, io);
  } catch (const UsageError& e) {
    io.err << "quorvex-summit: " << e.what() << '\n' << UsageText();
    code = kExitUsage;
  }
  return true;
}

}  // namespace qs
