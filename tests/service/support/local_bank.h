#pragma once
// A stand-in for the bank on 127.0.0.1: it serves per-draw files at the
// bank's real paths, answers 404 for anything not published, and can be told
// to refuse, hang, redirect or send an endless chunked reply.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "service/bank_csv.h"

namespace norv::service::testing {

struct BankReply {
  enum class Kind { Whole, Hang, Chunked };
  Kind kind = Kind::Whole;
  int status = 200;
  std::string body;
  std::string location;          // sent when not empty
  std::size_t chunkedBytes = 0;  // Chunked: how many bytes in all, no length announced
};

struct BankRequest {
  std::string path;
  std::string userAgent;
  std::chrono::steady_clock::time_point time;
};

class LocalBank {
 public:
  LocalBank();
  ~LocalBank();
  LocalBank(const LocalBank&) = delete;
  LocalBank& operator=(const LocalBank&) = delete;

  std::string base() const;  // "http://127.0.0.1:PORT"

  void Set(const std::string& path, BankReply reply);
  void Publish(BankFileId id, std::string bytes);  // 200 with the bytes
  void PublishDraw(const Draw& draw);              // LOTO6 or MiniLOTO, as the bank writes it
  void PublishNumbers(const Draw& numbers4, const Draw& numbers3);

  std::vector<BankRequest> Requests() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The page the bank's content network sends instead of a file.
std::string AccessDeniedPage();

}  // namespace norv::service::testing
