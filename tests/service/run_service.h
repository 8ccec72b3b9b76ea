#pragma once
// Runs the norv-service program as a script would, with its output in files.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/service/support/temp_folder.h"

namespace norv::service::testing {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// `now`, when given, is the Unix time the program takes for the present.
inline Outcome RunService(const TempFolder& temp, std::vector<std::string> args, std::string now = "") {
  const std::filesystem::path out = temp / "stdout";
  const std::filesystem::path err = temp / "stderr";
  args.insert(args.begin(), NORVALE_SERVICE_BINARY);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::string clock = "NORV_SERVICE_NOW=" + now;
  std::vector<char*> env;
  for (char** variable = environ; *variable; ++variable) {
    if (!std::string_view(*variable).starts_with("NORV_SERVICE_NOW=")) env.push_back(*variable);
  }
  if (!now.empty()) env.push_back(clock.data());
  env.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    ::execve(argv[0], argv.data(), env.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileText(out), FileText(err)};
}

}  // namespace norv::service::testing
