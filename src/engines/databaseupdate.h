// The Update command of the Database Updates panel: asks the update server which versions
// are current, downloads newer data as a cabinet archive and unpacks it into the
// application folder, and downloads newer software as a second archive, which the restart
// program installs at the next start. Everything goes through one HTTP client, HttpUpdate,
// one phase after another; progress and results are lines of the status tree.
//
// Server paths, below the base address [Application] updateurl:
//   check              /summit/softup.php?db_type=<lang>
//   data archive       /summit/<lang>-data.cab       and its signature  ...-data.cab.sig
//   software archive   /summit/<lang>-software.cab   and its signature  ...-software.cab.sig
// An archive is used only when its detached Ed25519 signature verifies with the publisher's
// key; the software archive is kept as \software.cab with its signature \software.cab.sig,
// which the restart program checks again before it installs anything.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <functional>
#include <string>
#include <string_view>

#include "app/dialogs.h"
#include "app/summit.h"
#include "engines/updatetree.h"
#include "net/httpcli.h"
#include "platform/signature.h"

namespace qs {

inline constexpr std::string_view kDataArchiveFile = "\\data.cab";
inline constexpr std::string_view kSoftwareArchiveFile = "\\software.cab";
inline constexpr std::string_view kSoftwareSignatureFile = "\\software.cab.sig";
inline constexpr std::string_view kUpdateAgent = "zedra updater";

class TDatabaseUpdate {
 public:
  // The phases, held in HttpUpdate's tag.
  enum TPhase { kCheckPhase = 0, kDataPhase = 1, kSoftwarePhase = 2 };
  // A signature file is 64 bytes; anything much longer is not one.
  static constexpr int64_t kMaxSignatureBytes = 4096;

  // `summit` gives the application folder, the language table, the engine tables, the
  // manual and ranking engine lists and the dates shown beside the tree; `dialogs` shows
  // conversion errors and failures to write an unpacked file. `trustedKey` is the key the
  // archives must be signed with (the tests give their own).
  TDatabaseUpdate(TSummit& summit, IDialogs& dialogs, TPublicKey trustedKey = PublisherKey());
  TDatabaseUpdate(const TDatabaseUpdate&) = delete;
  TDatabaseUpdate& operator=(const TDatabaseUpdate&) = delete;

  // The Update button: starts the check. While an update runs it does nothing at all (the
  // tree keeps showing the update under way).
  void Update();
  // True from Update() until the last phase has ended.
  bool Busy() const { return busy_; }

  TUpdateTree& Tree() { return tree_; }
  const TUpdateTree& Tree() const { return tree_; }
  // The status line (child 0), which also carries the progress: "Status: <b>phase</b> bytes".
  const std::string& StatusLine() const { return tree_.Child(TUpdateTree::Status).text; }
  // "Databases Updates" and "Software Updates": the dates beside the tree ([Application]
  // dbup and softup, read at start-up into the shared state).
  const std::string& DatabasesUpdated() const { return summit_.state.dbUp; }
  const std::string& SoftwareUpdated() const { return summit_.state.softUp; }
  // True when the last update ended without an error and without a red line other than the
  // restart request (key 145, red but the news of a successful software download).
  bool Succeeded() const {
    return !busy_ && !failed_ && !tree_.Empty() &&
           tree_.RedLines() == (restartRequested_ ? 1 : 0);
  }

  THttpCli& HttpUpdate() { return http_; }

  // Busy() changed (the panel disables Update while busy).
  std::function<void()> OnBusyChange;
  // The manual engine list was loaded again (its count changed with it).
  std::function<void()> OnManualListChange;
  // DatabasesUpdated() or SoftwareUpdated() changed.
  std::function<void()> OnDatesChange;
  // The update has ended; `ok` as Succeeded().
  std::function<void(bool ok)> OnFinished;

 private:
  enum class TPart { Archive, Signature };

  void Start(TPhase phase, TPart part, const std::string& path);
  void DocData();
  void RequestDone(int error);
  void CheckDone();
  void ArchiveDone(TPhase phase);
  void SignatureDone(TPhase phase);
  void InstallData();
  void InstallSoftware();
  void StartSoftware();
  void Finish();
  void Abandon(const std::string& text);
  void ShowFailure(TUpdateTree::TChild child, const std::string& code);
  std::string Lookup(std::string_view key) const;
  std::string ArchivePath(TPhase phase) const;

  TSummit& summit_;
  IDialogs& dialogs_;
  TPublicKey trustedKey_;
  THttpCli http_;
  QByteArray body_;
  QBuffer stream_;
  TUpdateTree tree_;

  bool busy_ = false;
  bool failed_ = false;
  bool restartRequested_ = false;
  TPart part_ = TPart::Archive;
  std::string base_, lang_;
  std::string archive_;        // the archive received, waiting for its signature
  bool softwareDue_ = false;
  std::string serverSoftware_;  // the check answer's software version
};

}  // namespace qs
