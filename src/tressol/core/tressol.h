#pragma once

#include <string>

#include "file_system.h"
#include "run_output.h"

namespace tressol {

// Runs one command line tail and returns the exit status: 0, that of the first failure,
// kWrongChecksum or kDiffers.
int Run(const std::string& tail, FileSystem& files, Output& output);

}  // namespace tressol
