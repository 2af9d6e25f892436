// Stores that were dropped with changes but without Close() lose those changes. They are
// counted here so the test suite can fail on any such caller.
#pragma once

#include <string>

namespace qs {

void NoteUnclosedStore(const std::string& fileName);
int UnclosedStoreCount();

}  // namespace qs
