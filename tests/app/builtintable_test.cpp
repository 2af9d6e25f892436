// The built-in English language table: the texts that the rest of the program shows, composes
// or compares word for word, and the order and uniqueness of the table's keys.
#include "app/langtable.h"
#include "app/text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qs {
namespace {

struct KeyText {
  std::string_view key;
  std::string_view text;
};

// Every text below is used exactly as written: odd spellings, HTML fragments and all.
constexpr KeyText kFixedTexts[] = {
    // language name and the captions of the project editor's controls
    {"lang", "english"},
    {"submitnetworks", "Submit to Link Networks"},
    {"submitffa", "Submit to FFA's,Classifieds"},
    {"submitengines", "Submit to search engines"},
    {"submitcustom", "Submit to Custom Database Only"},
    {"submitmain", "Submit to Main Database Only"},
    {"inccustom", "Include Custom database when submitting"},
    {"genreport", "Generate report after submission"},
    {"emailreport", "E-mail report after submission"},
    {"label1", "Minimum Required Fields"},
    {"label2", "URL:"},
    {"label3", "Title:"},
    {"label4", "Description:"},
    {"label5", "Alternate Email:"},
    {"label6", "Password:"},
    {"label7", "How many days between submissions?"},
    {"label8", "Start the submission on this date."},
    {"label9", "End the submission on this date."},
    {"label10", "What time of day is the best time to submit?"},
    {"label11", "Total:"},
    {"label12", "Completed:"},
    {"label13", "Scheduled:"},
    {"label14", "Manual Engine Count"},
    {"label15", "Status: Disabled"},
    {"label19", "Keywords:"},
    {"label21", "Category:"},
    {"label23", "First Name:"},
    {"label27", "Last Name:"},
    {"label28", "Main Email:"},
    {"label29", "Company:"},
    {"label31", "Address 1:"},
    {"label32", "Address 2:"},
    {"label33", "City:"},
    {"label34", "Zip/Postal:"},
    {"label35", "Country:"},
    {"label39", "Phone:"},
    {"label69", "State:"},
    {"label70", "Fax:"},

    // error messages
    {"nofname", "You forgot to enter your first name."},
    {"nolname", "You forgot to enter your last name."},
    {"noemail", "You forgot to enter your email address."},
    {"noaltemail", "You forgot to enter your alternate email address."},
    {"nourl", "You forgot to enter a URL."},
    {"notitle", "You forgot to enter a Title."},
    {"nocategory", "You forgot to enter a Category."},
    {"duplicatedomain",
     "This domain is already in your domains list use \"New Project\" to add another url to this "
     "domain."},
    {"nodomainselect", "You have not selected a domain to Delete"},
    {"noprojectselect", "You have not selected a project to Delete"},
    {"duplicateproject",
     "This project is already in your Projects list. Please use a different url to make a new "
     "project."},
    {"wrongdomain",
     "You can not add a different domain to this project group. Select \"New Domain' to add this "
     "url."},
    {"oneapp",
     "Only one instance of this program can be running at the same time. <br> Check your System "
     "tray if you are running scheduled submissions."},
    {"skippro",
     "One or more of your projects has already been submitted today and will be skipped."},
    {"nodbedit", "Sorry you can not edit the database while a submission is active."},
    {"nointernet", "No internet connection was detected."},
    {"norank", "You need to check at least one engine to rank."},
    {"174", "You have to create a domain before you can make a project."},
    {"176",
     "Your doorway page is incomplete. You need to create your metatags for the doorway page to be "
     "created properly."},

    // questions
    {"deletedomain", "Are you sure you want to delete the domain and all projects?"},
    {"deletedomainall", "Are you sure you want to delete all domains and projects?"},
    {"deleteallpro", "Are you sure you want to delete all projects?"},
    {"170", "Your database needs to be updated. Do you want to update now?"},
    {"175",
     "You have no domain groups created. Do you want to create your first Domain group now?"},

    // new-domain and new-project wizards
    {"21", "Add Just this Domain  \"I will fill out the rest\""},
    {"22", "Add Just this Domain and \"Import the title, description and keywords\""},
    {"23", "Add Domain and Import all pages. \"I will add them manually when completed\""},
    {"24", "Add Domain and Import all pages. \"Automatically add the pages as projects\""},
    {"29", "Add Domain"},
    {"30", "Close"},
    {"31", "Add New Domain"},
    {"95", "Step 1"},
    {"96", "Step 2"},
    {"97", "Add New Project"},
    {"100", "Add Project and Import all pages. \"Automatically add the pages as projects\""},
    {"101", "Add Project and Import all pages. \"I will add them manually when completed\""},
    {"102", "Add Just this Project  \"I will fill out the rest\""},
    {"103", "Add Just this Project and \"Import the title, description and keywords\""},
    {"104", "Add Project"},

    // import monitor window
    {"36", "Import Monitor"},
    {"37", "Stop"},

    // panels, tabs and main menu titles
    {"41", "Project - Information"},
    {"42", "Project - Options"},
    {"43", "Project - Schedule"},
    {"44", "Project - History"},
    {"45", "Projects"},
    {"46", "Domains"},
    {"47", "Submit"},
    {"48", "MetaTags"},
    {"49", "Doorways"},
    {"50", "Reports"},
    {"51", "Ranking"},
    {"52", "Doorway Pages"},
    {"53", "Options"},
    {"54", "Help"},
    {"55", "Yes"},
    {"56", "OK"},
    {"57", "No"},
    {"58", "Database"},
    {"61", "Auto Submission"},
    {"62", "Manual Submissions"},
    {"63", "Scheduled Submissions"},
    {"216", "MetaTag Creator"},
    {"217", "MetaTag Editor"},
    {"234", "Doorway page builder"},
    {"235", "Doorway page options"},
    {"236", "Customize doorway page content"},
    {"237", "Doorway page preview and save"},
    {"260", "Search Engine Database"},
    {"261", "Custom Database"},
    {"262", "Database Updates"},

    // Submit page and the scheduler's buttons
    {"64", "Engine activity during submission"},
    {"65", "Add Checked Projects"},
    {"66", "Start Scheduler"},
    {"67", "Stop Scheduler"},
    {"71", "Clear Log"},
    {"77", "Pause"},
    {"78", "Reset"},
    {"79", "Start"},
    {"80", "Stop"},
    {"81", "Activate scheduled submission for this project"},

    // run queue: entry statuses, kinds, summary lines and request results
    {"106", "Status: <b>Submission Complete...</b>"},
    {"129", "Status: <b>Submission Paused...</b>"},
    {"131", "Status: <b>Submission Stopped</b>"},
    {"136", "Status: <b>Under Promotion...</b>"},
    {"137", "Status: <b>Under Promotion (Scheduled)...</b>"},
    {"138", "Waiting to submit"},
    {"139", "(Scheduled)"},
    {"376", "Cancel/Remove"},
    {"126", "Generate Report: Yes"},
    {"377", "Generate Report: No"},
    {"187", "Engines"},
    {"266", "FFA's"},
    {"267", "Networks"},
    {"422", "Custom Database Only"},
    {"119", "OK"},
    {"128", "Request Timeout"},
    {"130", "Submission Stopped"},
    {"132", "Could not resolve to host"},
    {"135", "Skipped"},

    // submission history
    {"123", "Completed"},
    {"124", "View Report"},
    {"125", "No"},
    {"127", "Yes"},

    // report preview sample values and the template dialog
    {"107", "Submits to: Engines,FFAs,Networks"},
    {"108", "Total: 50"},
    {"109", "OK: 50"},
    {"110", "Failed: 0"},
    {"111", "Timeout: 0"},
    {"112", "Test Website [/index1.htm]"},
    {"114", "Test Title"},
    {"115", "Test Description"},
    {"116", "Test,Keywords"},
    {"117", "Business"},
    {"118", "Test Engine"},
    {"120", "ENGINE"},
    {"121", "Template Html Document"},
    {"122", "All Files"},
    {"256", "Save Properties"},

    // database and software updates
    {"141", "Downloading database updates..."},
    {"142", "Downloading software updates..."},
    {"143", "Status:"},
    {"144", "There was an error downloading the update Code"},
    {"145", "To complete this update please shut down and restart this software"},
    {"146", "Status: <b>Update Completed</b>"},
    {"147", "Status: <b>Connecting...</b>"},
    {"148", "Ranking Database Updated"},
    {"149", "Database Categories Updated"},
    {"150", "Manual Database Updated"},
    {"151", "Main Database Updated"},
    {"154", "Software Updates: <b>Current</b>"},
    {"155", "Software Updates: <b>Update available</b>"},
    {"156", "Databases: <b>Current</b>"},
    {"157", "Databases: <b>Update available</b>"},
    {"159", "<b>Checking for updates</b>"},
    {"160", "Status: <b>Connecting...</b>"},
    {"161", "Software Databases:"},
    {"162", "Software Updates:"},
    {"302", "Update"},

    // HTML documents and the meta tag tools
    {"163", "Html Document"},
    {"164", "Title"},
    {"165", "Description"},
    {"166", "Keywords"},
    {"167", "Downloading..."},
    {"168", "Connecting..."},
    {"169", "Inject Html Document"},
    {"208", "Copy from project"},
    {"214", "Include when building meta tags"},
    {"218", "Source code viewer"},
    {"219", "Load file"},
    {"220", "Load URL"},
    {"221", "Delete MetaTags"},
    {"222", "Inject MetaTags"},
    {"223", "Paste MetaTags"},
    {"250", "Save As"},
    {"418", "None"},
    {"419", "Title"},
    {"420", "Description"},
    {"421", "Keywords"},
    {"388", "Important!"},
    {"389", "is to long"},

    // column titles of the activity, manual engine and schedule lists; ranking depth
    {"188", "URL"},
    {"189", "Result"},
    {"190", "Date"},
    {"192", "Home page"},
    {"193", "Submit Here"},
    {"196", "Domain"},
    {"197", "Project"},
    {"201", "Check in top"},

    // doorway page builder
    {"226", "Template 1"},
    {"227", "Template 2"},
    {"228", "Template 3"},
    {"229", "Template 4"},
    {"230", "Template 5"},
    {"231", "Template 6"},
    {"232", "Template 7"},
    {"233", "Template 8"},
    {"238", "Border size"},
    {"239", "Border color"},
    {"240", "Page bgcolor"},
    {"241", "Table bgcolor"},
    {"242", "Title font style"},
    {"243", "Body font style"},
    {"244", "Java redirect"},
    {"245", "Header"},
    {"246", "Body"},
    {"247", "Footer"},
    {"249", "Preview"},
    {"251", "Save Properties"},

    // engine record editor, one caption per field
    {"263", "Search Engine Editor"},
    {"269", "Engine Name"},
    {"270", "Engine Type"},
    {"271", "Engine Country"},
    {"272", "Engine Count"},
    {"273", "Max Submission"},
    {"274", "Pages Allowed"},
    {"275", "Domain Specific"},
    {"277", "Posting Page"},
    {"278", "Method"},
    {"279", "Title Field"},
    {"280", "URL Field"},
    {"281", "Description Field"},
    {"282", "Category Field"},
    {"283", "Category Type"},
    {"284", "First Name Field"},
    {"285", "Last Name Field"},
    {"286", "Company Field"},
    {"287", "Address 1 Field"},
    {"288", "Address 2 Field"},
    {"289", "Email Field"},
    {"290", "City Field"},
    {"291", "State Field"},
    {"292", "Zip/Postal Field"},
    {"293", "Country Field"},
    {"294", "Phone Field"},
    {"295", "Fax Field"},
    {"296", "Keyword Field"},
    {"297", "Username Field"},
    {"298", "Password 1 Field"},
    {"299", "Password 2 Field"},
    {"300", "Requires Confirmation"},
    {"301", "Hidden Fields"},

    // options window: proxy and dial-up
    {"312",
     "If you are on a dialup connection you can use the following options to connect to the "
     "internet automatically when the scheduler is running and a project is due to be submitted"},
    {"313", "Connection Options"},
    {"314", "Connect on demand"},
    {"315", "Prompt me when connecting"},
    {"316", "Hang-up when finished"},
    {"323",
     "If you are running any antivirus software or firewall make sure this software has "
     "permission to access the internet"},
    {"324", "I am behind a firewall or proxy"},
    {"325", "I am not behind a firewall or proxy"},

    // menu commands
    {"343", "Clear History"},
    {"344", "Create New Domain"},
    {"349", "Create New Project"},
    {"352", "Update meta info"},
    {"365", "Select All"},
    {"366", "Deselect All"},

    // scheduler status and log
    {"397", "Status: Running"},
    {"367", "Windows shutdown detected..."},
    {"368", "Restarting Sheduler..."},
    {"369", "Starting Sheduler..."},
    {"370", "Scheduler is running..."},
    {"371", "Hint: you may close the program and the scheduler will remain running"},
    {"372", "in your task bar, Right click the spinning clock to re open the software"},
    {"373", "Scheduler Disabled"},
    {"374", "Sheduled project detected..."},
    {"378", "Adding Project to Auto submitter"},
    {"379", "Project removed (Already Submitted)"},

    // ranking result tree
    {"380", "Status: <b>Connecting...</b>"},
    {"381", "Status: <b>Waiting</b>"},
    {"382", "Searching Top: 10"},
    {"383", "Results:"},
    {"384", "Status: <b>Finished</b>"},
    {"385", "Searching Top: <b>"},
    {"386", "Position"},
    {"387", "Status: <b>Downloading...</b>"},

    // site import: URL lines, log and status lines
    {"401", "Status: Waiting"},
    {"402", "Level:"},
    {"403", "Import Stopped"},
    {"404", "Import Finished"},
    {"405", "Update it?"},
    {"406", "Project already exists"},
    {"407", "Succesfully added new project"},
    {"408", "Failed to add project"},
    {"409", "Add to projects?"},
    {"410", "Extracting Urls"},
    {"411", "Checking Duplicates"},
    {"412", "Status: <b>Project Added</b>"},
    {"413", "Status: <b>Project Updated</b>"},
};

// Keys as comma-separated items, each a single number or a range "from-to", every key
// given the prefix: Expand("label", "1-3, 7") is label1, label2, label3, label7.
std::vector<std::string> Expand(std::string_view prefix, std::string_view list) {
  std::vector<std::string> keys;
  while (!list.empty()) {
    const size_t comma = list.find(',');
    std::string_view item = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    const size_t dash = item.find('-');
    const std::string_view first = item.substr(0, dash);
    const std::string_view last = dash == std::string_view::npos ? first : item.substr(dash + 1);
    int from = 0;
    int to = -1;
    std::from_chars(first.data(), first.data() + first.size(), from);
    std::from_chars(last.data(), last.data() + last.size(), to);
    for (int n = from; n <= to; ++n) keys.push_back(std::string(prefix) + std::to_string(n));
  }
  return keys;
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& keys) {
  to.insert(to.end(), keys.begin(), keys.end());
}

const std::vector<std::string> kErrorKeys = {
    "nofname",          "nolname",     "noemail",         "noaltemail",     "nourl",
    "notitle",          "nocategory",  "duplicatedomain", "nodomainselect", "noprojectselect",
    "duplicateproject", "wrongdomain", "oneapp",          "skippro",        "nodbedit",
    "nointernet",       "norank"};
const std::vector<std::string> kQuestionKeys = {"deletedomain", "deletedomainall", "deleteallpro"};

// The keys of the built-in table in table order.
std::vector<std::string> ExpectedKeys() {
  std::vector<std::string> keys = {"lang",          "submitnetworks", "submitffa",
                                   "submitengines", "submitcustom",   "submitmain",
                                   "inccustom",     "genreport",      "emailreport"};
  Append(keys, Expand("label", "1-15, 19, 21, 23, 27-29, 31-35, 39, 69, 70"));
  Append(keys, Expand("",
                      "17-37, 39, 41-67, 70-72, 74, 77-81, 86-87, 94-139, 141-151, 154-157, "
                      "159-170, 174-176"));
  Append(keys, kErrorKeys);
  Append(keys, kQuestionKeys);
  Append(keys, Expand("",
                      "178, 182-184, 187-193, 195-201, 204-223, 225-254, 256-264, 266-275, "
                      "277-302, 304, 306-307, 309-316, 323-333, 335, 338-413, 417-437"));
  // The record navigator's buttons and the engine search of the Database page; the project
  // editor's password toggle; Go of the MetaTags page's URL bar.
  Append(keys, std::vector<std::string>{"navfirst", "navprior", "navnext", "navlast", "navinsert",
                                        "navdelete", "navedit", "navpost", "navcancel",
                                        "navrefresh", "dbfind", "showpassword",
                                        "sharedprojectfile", "helpdomainslist",
                                        "helpprojectslist", "optlanguage", "pggo"});
  return keys;
}

std::string AsciiLowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The keys of the table's lines, in order; lines without "=" define no key.
std::vector<std::string> KeysOf(const TLanguageTable& table) {
  std::vector<std::string> keys;
  for (const std::string& line : table.Lines()) {
    if (line.find('=') != std::string::npos) keys.push_back(TLanguageTable::KeyOf(line));
  }
  return keys;
}

TEST(BuiltinTable, ExpandListsNumbersAndRangesInOrder) {
  EXPECT_EQ(Expand("label", "1-3, 7"),
            (std::vector<std::string>{"label1", "label2", "label3", "label7"}));
  EXPECT_EQ(Expand("", "9,10-11"), (std::vector<std::string>{"9", "10", "11"}));
  EXPECT_EQ(ExpectedKeys().size(), 444u);
}

TEST(BuiltinTable, FixedTextsAreExact) {
  TLanguageTable t;
  t.LoadBuiltin();
  for (const auto& [key, text] : kFixedTexts) EXPECT_EQ(t.Lookup(key), text) << "key " << key;
}

TEST(BuiltinTable, KeysComeInTableOrder) {
  TLanguageTable t;
  t.LoadBuiltin();
  EXPECT_EQ(KeysOf(t), ExpectedKeys());
}

TEST(BuiltinTable, NoKeyOccursTwiceInAnyLetterCase) {
  TLanguageTable t;
  t.LoadBuiltin();
  std::set<std::string> seen;
  for (const std::string& key : KeysOf(t)) {
    EXPECT_TRUE(seen.insert(AsciiLowered(key)).second) << "duplicate key " << key;
  }
}

TEST(BuiltinTable, SectionLinesStandBeforeTheirGroups) {
  TLanguageTable t;
  t.LoadBuiltin();
  const std::vector<std::string>& lines = t.Lines();
  // each line without "=", with the key of the line after it
  std::vector<std::pair<std::string, std::string>> plain;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find('=') != std::string::npos) continue;
    plain.emplace_back(lines[i], i + 1 < lines.size() ? TLanguageTable::KeyOf(lines[i + 1]) : "");
  }
  ASSERT_EQ(plain.size(), 4u);
  EXPECT_EQ(lines.front(), "[lables]");
  using Pair = std::pair<std::string, std::string>;
  EXPECT_EQ(plain[0], (Pair{"[lables]", "lang"}));
  EXPECT_EQ(plain[1], (Pair{"[errors]", "nofname"}));
  EXPECT_EQ(plain[2], (Pair{"[question]", "deletedomain"}));
  EXPECT_EQ(plain[3].second, "178");
  EXPECT_FALSE(plain[3].first.empty());
  EXPECT_EQ(plain[3].first.find_first_not_of('/'), std::string::npos) << plain[3].first;
}

TEST(BuiltinTable, EveryTextIsTrimmedAndNotEmpty) {
  TLanguageTable t;
  t.LoadBuiltin();
  for (const std::string& line : t.Lines()) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string value = line.substr(eq + 1);
    ASSERT_FALSE(value.empty()) << line;
    EXPECT_NE(value.front(), ' ') << line;
    EXPECT_NE(value.back(), ' ') << line;
  }
}

TEST(BuiltinTable, ComposedTextsReadAsIntended) {
  TLanguageTable t;
  t.LoadBuiltin();
  const auto L = [&t](std::string_view key) { return t.Lookup(key); };
  const std::pair<std::string, std::string_view> cases[] = {
      // meta tag warnings and hints for the tag Title (minimum 30, maximum 60)
      {L("388") + " Title " + L("389"), "Important! Title is to long"},
      {L("388") + " Title " + L("393"), "Important! Title to short"},
      {L("390") + " Title " + L("391") + " 60 " + L("392"),
       "Hint: Keep your Title length below 60 characters"},
      {L("390") + " Title " + L("394") + " 30 " + L("392"),
       "Hint: Keep your Title length above 30 characters"},
      // kinds line of a scheduled entry with every kind and main plus custom database
      {"Submits to: " + L("187") + "," + L("266") + "," + L("267") + "," + L("261") + ",",
       "Submits to: Engines,FFA's,Networks,Custom Database,"},
      // a manually queued entry's kinds line starts the same way
      {L("396") + " " + L("187") + ",", "Submits to: Engines,"},
      // default doorway body, its six lines on one line
      {L("248"),
       "If you are searching for one or more of the topics below... $keywords Then look no "
       "further $url has the topics you are looking for $description You will find our site $url "
       "freindly to navigate and full of information on your topic. click here $url if you are "
       "not automaticaly farwarded to our site"},
  };
  for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(BuiltinTable, WaitingStatusesAreTellableApart) {
  TLanguageTable t;
  t.LoadBuiltin();
  // The run picks its next entry by these texts: both waiting states show "Waiting to submit",
  // only the scheduled one is marked "(Scheduled)".
  const std::string waiting = t.Lookup("395");
  const std::string scheduled = t.Lookup("375");
  EXPECT_TRUE(Contains(waiting, t.Lookup("138"))) << waiting;
  EXPECT_TRUE(Contains(scheduled, t.Lookup("138"))) << scheduled;
  EXPECT_FALSE(Contains(waiting, t.Lookup("139"))) << waiting;
  EXPECT_TRUE(Contains(scheduled, t.Lookup("139"))) << scheduled;
}

TEST(BuiltinTable, KindsLineLetsInOnlyTheSelectedEngineTypes) {
  TLanguageTable t;
  t.LoadBuiltin();
  // A record is visited when its lower-cased type occurs in the lower-cased kinds line, so
  // each part of that line may name only its own type.
  const struct {
    std::string_view key;
    bool engine, ffa, network;
  } parts[] = {
      {"187", true, false, false},  {"266", false, true, false},  {"267", false, false, true},
      {"396", false, false, false}, {"261", false, false, false}, {"422", false, false, false},
  };
  for (const auto& part : parts) {
    const std::string text = AsciiLowered(t.Lookup(part.key));
    EXPECT_EQ(Contains(text, "engine"), part.engine) << part.key;
    EXPECT_EQ(Contains(text, "ffa"), part.ffa) << part.key;
    EXPECT_EQ(Contains(text, "network"), part.network) << part.key;
  }
  EXPECT_TRUE(Contains(AsciiLowered(t.Lookup("267")), "networks"));
}

}  // namespace
}  // namespace qs
