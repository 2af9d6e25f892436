// quorvex-engine-gen --base URL --count N [--behaviours a,b,...] [--kinds K,...]
//   [--freqs F,...] [--methods M,...] [--prefix NAME]: writes an engine table to stdout.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "enginetable.h"

namespace {
std::vector<std::string> List(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream in(text);
  for (std::string item; std::getline(in, item, ',');) out.push_back(item == "-" ? "" : item);
  return out;
}
}  // namespace

int main(int argc, char** argv) {
  std::string base;
  int count = -1;
  qs::practice::TGeneratorMix mix;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i], v = argv[i + 1];
    if (a == "--base") base = v;
    else if (a == "--count") count = std::atoi(v.c_str());
    else if (a == "--behaviours") mix.behaviours = List(v);
    else if (a == "--kinds") mix.kinds = List(v);
    else if (a == "--freqs") mix.frequencies = List(v);  // "-" stands for an empty frequency
    else if (a == "--methods") mix.methods = List(v);
    else if (a == "--prefix") mix.namePrefix = v;
    else if (a == "--path-prefix") mix.pathPrefix = v;
    else count = -1, i = argc;
  }
  if (base.empty() || count < 0 || argc % 2 == 0) {
    std::fprintf(stderr, "Usage: quorvex-engine-gen --base URL --count N [--behaviours a,b] "
                         "[--kinds K,..] [--freqs F,..] [--methods M,..] [--prefix NAME]\n");
    return 2;
  }
  for (const std::string& line : qs::practice::GenerateEngineTable(count, base, mix))
    std::fwrite(line.data(), 1, line.size(), stdout);
  return 0;
}
