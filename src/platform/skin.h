// The window skin: an optional Qt style sheet kept in \skin.skn.
#pragma once

#include <string>

#include "app/appfolder.h"

namespace qs {

// The style sheet, or an empty text when the folder has no skin file.
std::string ReadSkin(const TAppFolder& folder);

}  // namespace qs
