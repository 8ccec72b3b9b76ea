#pragma once
// The bank's per-draw files as the command line names them.

#include <vector>

#include "service/commands.h"
#include "service/draw.h"

namespace norv::service {

// The draws of every file, file by file. A name of the bank's form
// (A102NNNN.CSV ...) fixes the series and draw the body must hold. Throws
// BankFileError with a one-line reason naming the first file that cannot be
// read or is not a well-formed draw file.
std::vector<Draw> ReadDrawFiles(Arguments files);

}  // namespace norv::service
