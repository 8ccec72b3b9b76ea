#pragma once
// The file steps behind every writer of a file the user relies on: the data
// files, the companion files and the CSV export. The platform adapters are
// thin, so a test can put a layer between that fails, or stops everything as
// a killed process would, at any single step. Paths are UTF-8.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace norv {

class WritableFile {
 public:
  virtual ~WritableFile() = default;  // an open file is closed without a report
  virtual bool Write(std::string_view bytes) = 0;
  virtual bool Flush() = 0;  // everything written so far is on the disk
  // Some file systems report a failed write only here.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates the file or empties an existing one, for writing, shared with nobody.
  virtual std::unique_ptr<WritableFile> Create(const std::string& path) = 0;
  // True when the file is gone afterwards; a missing file already is.
  virtual bool Remove(const std::string& path) = 0;
  // Puts `from` in place of `to` in one step, replacing it, durably. There is
  // no moment without `to`; on failure both stay as they were.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;

  // Reads, which change nothing on the disk.
  virtual std::optional<std::string> ReadWhole(const std::string& path) = 0;
  virtual std::optional<std::uint64_t> SizeOf(const std::string& path) = 0;
};

// The real disk.
FileSystem& LocalFileSystem();

}  // namespace norv
