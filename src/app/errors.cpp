#include "app/errors.h"

#include <cstring>

namespace qs {

std::string OsErrorText(const std::string& what, const std::string& path, int err) {
  return what + " " + path + ": " + std::strerror(err);
}

}  // namespace qs
