#pragma once
// A reply body kept in an anonymous memory file, sealed against change, so
// that the kernel can send it straight from its own pages (sendfile) rather
// than copying it out of the server's memory for every reply.

#include <memory>
#include <string_view>

namespace norv::service {

class MemoryFile {
 public:
  // Nothing when the system cannot make one; the caller then sends the bytes itself.
  static std::shared_ptr<const MemoryFile> Holding(std::string_view bytes);

  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  int Descriptor() const { return fd_; }
  std::size_t Size() const { return size_; }

 private:
  MemoryFile(int fd, std::size_t size) : fd_(fd), size_(size) {}

  int fd_;
  std::size_t size_;
};

}  // namespace norv::service
