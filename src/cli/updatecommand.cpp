#include "cli/updatecommand.h"

#include <QEventLoop>
#include <ostream>

#include "app/summit.h"
#include "cli/terminalanswerer.h"
#include "engines/databaseupdate.h"

namespace qs {

int RunUpdateCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                     TCommandLineIo io, const TPublicKey& trustedKey) {
  if (!args.empty()) {
    io.err << "quorvex-summit: update takes no arguments\n"
           << "Usage: quorvex-summit [--home DIR] update\n";
    return kExitUsage;
  }
  TSummit summit(folder);
  TTerminalAnswerer answerer(io.in, io.err, summit.state.applicationTitle);
  // A folder whose tables cannot be opened is what an update may repair: go on regardless.
  summit.Start(answerer);

  TDatabaseUpdate update(summit, answerer, trustedKey);
  TUpdateTree& tree = update.Tree();
  auto print = [&](const std::string& text, int depth) {
    io.out << std::string(static_cast<size_t>(depth) * 2, ' ')
           << TTerminalAnswerer::PlainText(text) << '\n';
  };
  tree.OnBuild = [&] {
    print(tree.Root(), 0);
    for (auto child : {TUpdateTree::Status, TUpdateTree::Databases, TUpdateTree::Software})
      print(tree.Child(child).text, 1);
  };
  tree.OnTextChange = [&](TUpdateTree::TChild child, bool progress) {
    if (!progress) print(tree.Child(child).text, 1);
  };
  tree.OnLineAdded = [&](TUpdateTree::TChild child, size_t line) {
    print(tree.Child(child).lines[line].text, 2);
  };

  QEventLoop loop;
  update.OnFinished = [&](bool) { loop.quit(); };
  update.Update();
  if (update.Busy()) loop.exec();
  summit.catalogue.Close();  // writes what the count after the update changed
  return update.Succeeded() ? kExitOk : kExitFailure;
}

}  // namespace qs
