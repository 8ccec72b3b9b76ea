#pragma once
// Carries HTTP requests on 127.0.0.1 to a DrawService and its replies back.

#include <memory>

#include "tools/drawservice/service.h"

namespace norv::drawservice {

class HttpFrontEnd {
 public:
  HttpFrontEnd(DrawService& service, bool verbose);
  ~HttpFrontEnd();
  HttpFrontEnd(const HttpFrontEnd&) = delete;
  HttpFrontEnd& operator=(const HttpFrontEnd&) = delete;

  // The port now listened on (a free one for port 0), or -1.
  int Bind(int port);
  // Serves until Stop; false when serving could not start.
  bool Serve();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace norv::drawservice
