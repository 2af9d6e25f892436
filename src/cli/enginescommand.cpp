#include "cli/enginescommand.h"

#include <ostream>

#include "app/appstate.h"
#include "app/settings.h"
#include "engines/enginecatalogue.h"

namespace qs {

int RunEnginesCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                      TCommandLineIo io) {
  bool custom = false, list = false;
  TTypeView view = TTypeView::AllTypes;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--custom") {
      custom = true;
    } else if (a == "--list") {
      list = true;
    } else if (a == "--type" && i + 1 < args.size()) {
      const std::string& t = args[++i];
      if (t == "Engines") view = TTypeView::Engines;
      else if (t == "FFA") view = TTypeView::Ffa;
      else if (t == "Networks") view = TTypeView::Networks;
      else if (t != "All") {
        io.err << "quorvex-summit: --type takes Engines, FFA, Networks or All\n" << UsageText();
        return kExitUsage;
      }
    } else {
      io.err << "quorvex-summit: engines: unexpected " << a << "\n" << UsageText();
      return kExitUsage;
    }
  }

  TEngineCatalogue catalogue;
  {
    TBiggerIniFile ini(folder.Path(kSettingsFile));
    TSettings settings(ini, folder);
    catalogue.languageName = settings.Text(setting::kLang);
    catalogue.applicationTitle = settings.Text(setting::kApp) + std::string(kVersionSuffix);
    ini.Close();
  }
  catalogue.Open(folder);
  TSdfDataSet& table = custom ? catalogue.CustomTable : catalogue.EnginesTable;
  if (view != TTypeView::AllTypes) {
    catalogue.SelectView(table, view);
    catalogue.Count(table);
  }
  const TEngineCounters& c = catalogue.Counters(table);
  io.out << "Total: " << c.total << "\nEngines: " << c.engines << "\nFFA: " << c.ffa
         << "\nNetworks: " << c.networks << "\nNetwork sites: " << c.networkTotal << '\n';
  if (list) {
    for (table.First(); !table.Eof(); table.Next()) {
      io.out << table.FieldByName("e_name").AsString() << '\t'
             << table.FieldByName("enginetype").AsString() << '\t'
             << table.FieldByName("e_freq").AsString() << '\t'
             << table.FieldByName("cgi_url").AsString() << '\n';
    }
  }
  catalogue.Close();
  return kExitOk;
}

}  // namespace qs
