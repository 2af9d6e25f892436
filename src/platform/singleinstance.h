// One running copy per executable name: the first copy listens on a local socket named after
// its executable (and the user); a later copy asks it to come forward and ends.
#pragma once

#include <QLocalServer>
#include <functional>
#include <string>

namespace qs {

class TSingleInstance {
 public:
  // `name`: the executable's file name, without folder.
  explicit TSingleInstance(std::string name);

  // True when no other copy runs; this copy then answers later copies. False when another
  // copy runs: it has been asked to bring its window forward.
  bool Claim();

  // A later copy asked this one to come forward.
  std::function<void()> OnActivate;

  const std::string& ServerName() const { return serverName_; }

 private:
  std::string serverName_;
  QLocalServer server_;
};

}  // namespace qs
