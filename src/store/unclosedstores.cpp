#include "store/unclosedstores.h"

#include <cstdio>

namespace qs {
namespace {
int unclosed = 0;
}

void NoteUnclosedStore(const std::string& fileName) {
  ++unclosed;
  std::fprintf(stderr, "quorvex-summit: changes to %s dropped: the store was not closed\n",
               fileName.c_str());
}

int UnclosedStoreCount() { return unclosed; }

}  // namespace qs
