// The update command: the Update button of the Database Updates panel, headless. Prints the
// status tree's lines as they change.
#pragma once

#include <string>
#include <vector>

#include "app/appfolder.h"
#include "cli/commandline.h"
#include "platform/signature.h"

namespace qs {

// No arguments. Exit 0 when the update ended without a red line (the request to restart
// after a software download, red as it is, is no failure); 1 otherwise. The archives
// must be signed with `trustedKey` (the publisher's; the tests give their own).
int RunUpdateCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                     TCommandLineIo io, const TPublicKey& trustedKey = PublisherKey());

}  // namespace qs
