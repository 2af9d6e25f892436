#include "cli/metacommand.h"

#include <ostream>
#include <stdexcept>

#include "app/appstate.h"
#include "app/errors.h"
#include "app/langtable.h"
#include "cli/projectsession.h"
#include "doorways/doorwaypage.h"
#include "metatags/metacatalogue.h"
#include "metatags/metahtml.h"
#include "metatags/metatagblock.h"
#include "platform/filesystem.h"
#include "projects/projecteditor.h"

namespace qs {

namespace {

constexpr const char* kMetaUsage =
    "Usage: quorvex-summit [--home DIR] meta DOMAIN PROJECT\n"
    "       quorvex-summit [--home DIR] meta clean FILE [--out FILE]\n"
    "       quorvex-summit [--home DIR] meta inject DOMAIN PROJECT FILE [--out FILE]\n";
constexpr const char* kDoorwayUsage =
    "Usage: quorvex-summit [--home DIR] doorway DOMAIN PROJECT --template N [--out FILE]\n";

int Usage(std::ostream& err, const char* command, const char* usage, const std::string& problem) {
  err << "quorvex-summit: " << command << ": " << problem << "\n" << usage;
  return kExitUsage;
}

// The positional arguments and the values of the options in `valued`; false with `problem`
// set for an unknown option or one without its value.
struct TParsed {
  std::vector<std::string> positional;
  std::string out, templateNumber;
  bool haveOut = false, haveTemplate = false;
};
bool Parse(const std::vector<std::string>& args, bool allowTemplate, TParsed& p,
           std::string& problem) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--out" || (allowTemplate && a == "--template")) {
      if (i + 1 >= args.size()) {
        problem = "option " + a + " needs a value";
        return false;
      }
      if (a == "--out") p.out = args[++i], p.haveOut = true;
      else p.templateNumber = args[++i], p.haveTemplate = true;
    } else if (a.size() > 1 && a[0] == '-') {
      problem = "unknown option " + a;
      return false;
    } else {
      p.positional.push_back(a);
    }
  }
  return true;
}

// The project session with the meta tag catalogue, for DOMAIN and PROJECT.
class TMetaSession : public TProjectSession {
 public:
  TMetaSession(const TAppFolder& folder, TCommandLineIo io) : TProjectSession(folder, io) {
    catalogue_.Load(folder);
  }
  void Select(const std::string& domain, const std::string& listed) {
    SelectDomain(domain);
    SelectProject(listed);
  }
  std::string Block(std::string_view lineEnd) {
    const TDomainStore store(State().folder);
    return MetaTagBlock(catalogue_, store, State().currentDomain, State().currentProjectKey,
                        lineEnd);
  }
  const TMetaCatalogue& Catalogue() const { return catalogue_; }

 private:
  TMetaCatalogue catalogue_;
};

std::string ReadDocument(const std::string& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) throw IoError("Cannot open file " + path + ": No such file or directory");
  return std::move(*bytes);
}

void Deliver(const TParsed& p, const std::string& bytes, std::ostream& out) {
  if (p.haveOut) WriteFileAtomically(p.out, bytes);
  else out << bytes;
}

}  // namespace

int RunMetaCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                   TCommandLineIo io) {
  TParsed p;
  std::string problem;
  if (!Parse(args, false, p, problem)) return Usage(io.err, "meta", kMetaUsage, problem);
  const auto& a = p.positional;
  if (!a.empty() && a[0] == "clean") {
    if (a.size() != 2) return Usage(io.err, "meta", kMetaUsage, "clean takes one FILE");
    Deliver(p, DeleteMetaTags(ReadDocument(a[1])), io.out);
    return kExitOk;
  }
  if (!a.empty() && a[0] == "inject") {
    if (a.size() != 4)
      return Usage(io.err, "meta", kMetaUsage, "inject takes a DOMAIN, a PROJECT and a FILE");
    TMetaSession s(folder, io);
    s.Select(a[1], a[2]);
    const std::string document = ReadDocument(a[3]);
    bool injected = false;
    const std::string result = InjectAfterHead(document, AsLineBreaks(s.Block("\r")), &injected);
    if (!injected) io.err << "quorvex-summit: meta: " << a[3] << " has no head start tag\n";
    Deliver(p, result, io.out);
    return kExitOk;
  }
  if (a.size() != 2 || p.haveOut)
    return Usage(io.err, "meta", kMetaUsage, "meta takes a DOMAIN and a PROJECT");
  TMetaSession s(folder, io);
  s.Select(a[0], a[1]);
  // On a terminal each tag line ends with a newline rather than the block's carriage return.
  io.out << s.Block("\n");
  return kExitOk;
}

int RunDoorwayCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                      TCommandLineIo io) {
  TParsed p;
  std::string problem;
  if (!Parse(args, true, p, problem)) return Usage(io.err, "doorway", kDoorwayUsage, problem);
  if (p.positional.size() != 2)
    return Usage(io.err, "doorway", kDoorwayUsage, "doorway takes a DOMAIN and a PROJECT");
  const std::string& n = p.templateNumber;
  if (!p.haveTemplate || n.size() != 1 || n[0] < '1' || n[0] > '8')
    return Usage(io.err, "doorway", kDoorwayUsage, "a template number 1 to 8 is needed (--template)");
  TMetaSession s(folder, io);
  s.Select(p.positional[0], p.positional[1]);
  TDoorwayPage::LoadSettings(folder, s.State().doorway);
  TDoorwayPage page(s.State(), s.Catalogue(), s.Dialogs());
  page.SelectTemplate(n[0] - '1');
  const std::string preview = page.Preview(s.Editor().Text("url"));
  if (p.haveOut) page.SaveAs(p.out);
  io.out << (p.haveOut ? p.out : preview) << '\n';
  return kExitOk;
}

}  // namespace qs
