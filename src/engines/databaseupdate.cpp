#include "engines/databaseupdate.h"

#include "app/clock.h"
#include "app/errors.h"
#include "app/settings.h"
#include "engines/manuallist.h"
#include "engines/updateinfo.h"
#include "net/connectionsettings.h"
#include "net/receivelimits.h"
#include "platform/cabfile.h"
#include "platform/filesystem.h"
#include "platform/regional.h"

namespace qs {
namespace {

// The settings file, open for one step and closed on every way out.
class TSettingsFile {
 public:
  explicit TSettingsFile(const TAppFolder& folder)
      : ini_(folder.Path(kSettingsFile)), settings_(ini_, folder) {}
  ~TSettingsFile() {
    try {
      Close();
    } catch (...) {
    }
  }
  TSettings& operator*() { return settings_; }
  TSettings* operator->() { return &settings_; }
  void Close() {
    if (closed_) return;
    closed_ = true;
    ini_.Close();
  }

 private:
  TBiggerIniFile ini_;
  TSettings settings_;
  bool closed_ = false;
};

constexpr const char* kSignatureFailure = "signature";
constexpr const char* kUnpackFailure = "unpack: ";

std::string_view Bytes(const QByteArray& a) {
  return std::string_view(a.constData(), static_cast<size_t>(a.size()));
}

}  // namespace

TDatabaseUpdate::TDatabaseUpdate(TSummit& summit, IDialogs& dialogs, TPublicKey trustedKey)
    : summit_(summit), dialogs_(dialogs), trustedKey_(trustedKey) {
  http_.SetAgent(std::string(kUpdateAgent));
  http_.OnDocData = [this](THttpCli&, const char*, int) { DocData(); };
  http_.OnRequestDone = [this](THttpCli&, THttpRequest, int error) { RequestDone(error); };
}

std::string TDatabaseUpdate::Lookup(std::string_view key) const {
  return summit_.state.languageTable.Lookup(key);
}

void TDatabaseUpdate::Update() {
  // A second Update while one runs leaves the running one, and the tree it reports into,
  // alone.
  if (busy_ || http_.State() != THttpState::Ready) return;
  tree_.Build(Lookup("159"), Lookup("160"), Lookup("161") + " ", Lookup("162") + " ");
  failed_ = false;
  restartRequested_ = false;
  softwareDue_ = false;
  archive_.clear();
  serverSoftware_.clear();
  busy_ = true;
  if (OnBusyChange) OnBusyChange();
  try {
    const TAppFolder& folder = summit_.state.folder;
    TSettingsFile settings(folder);
    lang_ = settings->Text(setting::kLang);
    base_ = settings->Text(setting::kUpdateUrl);
    settings.Close();
    while (!base_.empty() && base_.back() == '/') base_.pop_back();
    TConnectionSettings::ApplyProxyTo(TConnectionSettings(folder).ReadProxy(), http_);
  } catch (const std::exception& e) {
    Abandon(e.what());
    return;
  }
  Start(kCheckPhase, TPart::Archive, "/summit/softup.php?db_type=" + lang_);
}

std::string TDatabaseUpdate::ArchivePath(TPhase phase) const {
  return "/summit/" + lang_ + (phase == kDataPhase ? "-data.cab" : "-software.cab");
}

void TDatabaseUpdate::Start(TPhase phase, TPart part, const std::string& path) {
  part_ = part;
  stream_.close();
  body_.clear();
  stream_.setBuffer(&body_);
  stream_.open(QIODevice::WriteOnly);
  http_.SetTag(phase);
  http_.SetRcvdStream(&stream_);
  http_.SetRcvdStreamLimit(part == TPart::Signature ? kMaxSignatureBytes
                           : phase == kCheckPhase   ? receive_limit::kUpdateInfo
                                                    : receive_limit::kUpdateArchive);
  http_.SetURL(base_ + path);
  try {
    http_.Get();
  } catch (const THttpCliError& e) {
    Abandon(e.what());
  }
}

void TDatabaseUpdate::DocData() {
  if (part_ == TPart::Signature) return;  // the progress counts the archive's bytes
  // The check's phase text: the same "Downloading..." the other page fetches show.
  const std::string phaseText = http_.Tag() == kDataPhase       ? Lookup("141")
                                : http_.Tag() == kSoftwarePhase ? Lookup("142")
                                                                : Lookup("167");
  tree_.SetText(TUpdateTree::Status,
                Lookup("143") + " <b>" + phaseText + "</b> " + std::to_string(body_.size()), true);
}

void TDatabaseUpdate::RequestDone(int error) {
  stream_.close();
  // A body cut short (a reset connection, an answer beyond its bound) is no answer, whatever
  // its status line said; it is reported with the status code received.
  if (error != 0 && http_.StatusCode() == 200) body_.clear();
  const bool answered = error == 0 && http_.StatusCode() == 200;
  const auto phase = static_cast<TPhase>(http_.Tag());
  try {
    if (phase == kCheckPhase) {
      if (!answered) {
        ShowFailure(TUpdateTree::Status, "# 00-");
        Finish();
        return;
      }
      CheckDone();
    } else if (part_ == TPart::Archive) {
      tree_.SetText(TUpdateTree::Status, Lookup("146"));
      if (!answered) {
        if (phase == kDataPhase) {
          ShowFailure(TUpdateTree::Status, "# 01-");
        } else {
          ShowFailure(TUpdateTree::Software, "# 02-");
          TSettingsFile settings(summit_.state.folder);
          settings->WriteText(setting::kSoftware, "1");
          settings.Close();
        }
        Finish();
        return;
      }
      archive_.assign(body_.constData(), static_cast<size_t>(body_.size()));
      Start(phase, TPart::Signature, ArchivePath(phase) + std::string(kSignatureSuffix));
    } else {
      const bool trusted = answered && VerifySignature(trustedKey_, archive_, Bytes(body_));
      if (!trusted) {
        // An archive that cannot be proven to come from the publisher is a failed download
        // of its phase, with "signature" in place of the status code.
        if (phase == kDataPhase) {
          tree_.AddLine(TUpdateTree::Status, Lookup("144") + "# 01-" + kSignatureFailure,
                        TUpdateColour::Red);
        } else {
          tree_.AddLine(TUpdateTree::Software, Lookup("144") + "# 02-" + kSignatureFailure,
                        TUpdateColour::Red);
          TSettingsFile settings(summit_.state.folder);
          settings->WriteText(setting::kSoftware, "1");
          settings.Close();
        }
        Finish();
        return;
      }
      if (phase == kDataPhase) InstallData();
      else InstallSoftware();
    }
  } catch (const std::exception& e) {
    Abandon(e.what());
  }
}

void TDatabaseUpdate::ShowFailure(TUpdateTree::TChild child, const std::string& code) {
  tree_.AddLine(child, Lookup("144") + code + std::to_string(http_.StatusCode()),
                TUpdateColour::Red);
}

void TDatabaseUpdate::CheckDone() {
  const auto answer = ReadKeyValues(Bytes(body_));
  TSettingsFile settings(summit_.state.folder);
  const std::string localUpdate = settings->Text(setting::kUpdate);
  const std::string localSoftware = settings->Text(setting::kSoftware);
  settings.Close();

  const bool dataDue = VersionNumber(localUpdate) < VersionOf(answer, "update");
  if (dataDue) {
    tree_.SetText(TUpdateTree::Databases, Lookup("157"));
  } else {
    tree_.SetText(TUpdateTree::Databases, Lookup("156"));
    tree_.SetText(TUpdateTree::Status, Lookup("146"));
  }
  softwareDue_ = VersionNumber(localSoftware) < VersionOf(answer, "software");
  // Only the direct path (no data download) keeps the server's number for later.
  serverSoftware_ = dataDue ? "" : answer.at("software");
  tree_.SetText(TUpdateTree::Software, Lookup(softwareDue_ ? "155" : "154"));

  if (dataDue) {
    tree_.SetText(TUpdateTree::Status, Lookup("147"));
    Start(kDataPhase, TPart::Archive, ArchivePath(kDataPhase));
  } else if (softwareDue_) {
    StartSoftware();
  } else {
    Finish();
  }
}

void TDatabaseUpdate::StartSoftware() {
  tree_.SetText(TUpdateTree::Status, Lookup("147"));
  Start(kSoftwarePhase, TPart::Archive, ArchivePath(kSoftwarePhase));
}

void TDatabaseUpdate::InstallData() {
  const TAppFolder& folder = summit_.state.folder;
  TSdfDataSet& table = summit_.catalogue.EnginesTable;
  WriteFileAtomically(folder.Path(kDataArchiveFile), archive_);
  archive_.clear();
  // Closing writes the user's changes first; when they cannot be written the table stays
  // open with them and nothing is unpacked.
  table.Close();
  // A table that start-up could not open is opened on its file after the update.
  table.SetFileName(folder.Path(kMainTableFile));

  std::string unpackFailure, error;
  try {
    // An update-info.txt left by an earlier update must not pass for this archive's.
    RemoveFile(folder.Path(kUpdateInfoFile));
    TCABFile cab(folder.Path(kDataArchiveFile));
    cab.OnWriteError = [this](const std::string& text) {
      dialogs_.Message(text, TMsgDlgType::Error);
    };
    const std::optional<std::string> info =
        cab.ExtractTo(folder.Root()) ? ReadFileBytes(folder.Path(kUpdateInfoFile)) : std::nullopt;
    if (!cab.ErrorText().empty()) {
      unpackFailure = cab.ErrorText();
    } else if (!info) {
      unpackFailure = "the archive holds no update-info.txt";
    } else {
      const auto values = ReadKeyValues(*info);
      TSettingsFile settings(folder);
      static constexpr struct {
        const SettingKey* key;
        std::string_view name, line;
      } kComponents[] = {{&setting::kDb, "db", "151"},
                         {&setting::kManDb, "mandb", "150"},
                         {&setting::kCats, "cats", "149"},
                         {&setting::kRank, "rank", "148"}};
      for (const auto& c : kComponents) {
        const std::string name(c.name);
        if (VersionNumber(settings->Text(*c.key)) < VersionOf(values, name)) {
          tree_.AddLine(TUpdateTree::Databases, Lookup(c.line), TUpdateColour::Green);
          settings->WriteText(*c.key, values.at(name));
          VersionOf(values, "update");  // a conversion error for a missing or broken value
          settings->WriteText(setting::kUpdate, values.at("update"));
        }
      }
      if (VersionNumber(settings->Text(setting::kSoftware)) < VersionOf(values, "software")) {
        settings->WriteText(setting::kSoftware, values.at("software"));
        softwareDue_ = true;
      }
      settings.Close();
    }
  } catch (const std::exception& e) {
    error = e.what();
  }

  // Whatever happened, the lists and the main table come back from the files now in place.
  try {
    summit_.manualEngines = LoadManualList(folder.Path(kManualListFile));
    if (OnManualListChange) OnManualListChange();
  } catch (const std::exception& e) {
    if (error.empty()) error = e.what();
  }
  try {
    table.Open();
    summit_.catalogue.Count(table);
  } catch (const std::exception& e) {
    if (error.empty()) error = e.what();
  }
  try {
    summit_.rankEngineList.Load(folder);
  } catch (const std::exception&) {
    // The ranking list keeps what it had; a missing ranking file does not stop the update.
  }

  if (!error.empty()) {
    Abandon(error);
    return;
  }
  if (!unpackFailure.empty()) {
    // The archive arrived but cannot be installed: a failed data download whose code is
    // "unpack" and the reason.
    tree_.AddLine(TUpdateTree::Status, Lookup("144") + "# 01-" + kUnpackFailure + unpackFailure,
                  TUpdateColour::Red);
    Finish();
    return;
  }
  summit_.state.dbUp = regional::FormatDate(clock::Today());
  {
    TSettingsFile settings(folder);
    settings->WriteText(setting::kDbUp, summit_.state.dbUp);
    settings.Close();
  }
  if (OnDatesChange) OnDatesChange();
  if (softwareDue_) StartSoftware();
  else Finish();
}

void TDatabaseUpdate::InstallSoftware() {
  const TAppFolder& folder = summit_.state.folder;
  // The signature goes first: an archive without its signature beside it is never installed.
  WriteFileAtomically(folder.Path(kSoftwareSignatureFile), Bytes(body_));
  WriteFileAtomically(folder.Path(kSoftwareArchiveFile), archive_);
  archive_.clear();
  restartRequested_ = true;
  tree_.AddLine(TUpdateTree::Software, Lookup("145"), TUpdateColour::Red);
  summit_.state.softUp = regional::FormatDate(clock::Today());
  TSettingsFile settings(folder);
  settings->WriteText(setting::kSoftUp, summit_.state.softUp);
  // When the check found only newer software, the version is stored once the archive is
  // here; the data path stored it from update-info.txt before the download.
  if (!serverSoftware_.empty() &&
      VersionNumber(settings->Text(setting::kSoftware)) < VersionNumber(serverSoftware_))
    settings->WriteText(setting::kSoftware, serverSoftware_);
  settings.Close();
  if (OnDatesChange) OnDatesChange();
  Finish();
}

void TDatabaseUpdate::Abandon(const std::string& text) {
  failed_ = true;
  dialogs_.Message(text, TMsgDlgType::Error);
  Finish();
}

void TDatabaseUpdate::Finish() {
  stream_.close();
  body_.clear();
  archive_.clear();
  if (!busy_) return;
  busy_ = false;
  if (OnBusyChange) OnBusyChange();
  if (OnFinished) OnFinished(Succeeded());
}

}  // namespace qs
