#include "service/draw_files.h"

#include <system_error>

#include "service/bank_csv.h"
#include "service/durable_file.h"

namespace norv::service {

namespace {

// Far beyond any draw file; a larger one is not worth reading.
constexpr std::size_t kLargestDrawFile = 1024 * 1024;

}  // namespace

std::vector<Draw> ReadDrawFiles(Arguments files) {
  std::vector<Draw> draws;
  for (const std::string& file : files) {
    std::string bytes;
    try {
      bytes = ReadWholeFile(file, kLargestDrawFile);
    } catch (const std::system_error& error) {
      throw BankFileError(error.what());
    }
    try {
      const std::vector<Draw> read = ReadBankFile(bytes, BankFileIdFromName(file));
      draws.insert(draws.end(), read.begin(), read.end());
    } catch (const BankFileError& error) {
      throw BankFileError(file + ": " + error.what());
    }
  }
  return draws;
}

}  // namespace norv::service
