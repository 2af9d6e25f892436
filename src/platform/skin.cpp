#include "platform/skin.h"

#include "platform/filesystem.h"

namespace qs {

std::string ReadSkin(const TAppFolder& folder) {
  return ReadFileBytes(folder.Path("\\skin.skn")).value_or(std::string());
}

}  // namespace qs
