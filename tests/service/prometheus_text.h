#pragma once
// A reader of the Prometheus text exposition format, strict enough for the
// tests: every line is a "# HELP", a "# TYPE" or a sample of a family whose
// TYPE came before it, and the text ends with a line end.

#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace norv::service::testing {

struct PrometheusText {
  std::map<std::string, std::string> samples;  // "name{labels}" -> value
  std::string problem;                         // empty when the text is good
};

inline PrometheusText ReadPrometheusText(const std::string& text) {
  static const std::regex help(R"(# HELP ([a-zA-Z_:][a-zA-Z0-9_:]*) \S.*)");
  static const std::regex type(R"(# TYPE ([a-zA-Z_:][a-zA-Z0-9_:]*) (gauge|counter|untyped))");
  static const std::string label = R"([a-zA-Z_][a-zA-Z0-9_]*="[^"\\\n]*")";
  static const std::regex sample(R"(([a-zA-Z_:][a-zA-Z0-9_:]*)(\{)" + label + "(," + label + R"()*\})? (-?[0-9]+(\.[0-9]+)?))");
  PrometheusText read;
  if (text.empty() || text.back() != '\n') read.problem = "no line end at the end";
  std::set<std::string> typed;
  std::istringstream lines(text);
  std::string line;
  std::smatch match;
  while (read.problem.empty() && std::getline(lines, line)) {
    if (std::regex_match(line, match, help)) continue;
    if (std::regex_match(line, match, type)) {
      if (!typed.insert(match[1]).second) read.problem = "a second TYPE: " + line;
    } else if (std::regex_match(line, match, sample)) {
      if (!typed.contains(match[1])) read.problem = "a sample before its TYPE: " + line;
      const std::string key = match[1].str() + match[2].str();
      if (!read.samples.emplace(key, match[4]).second) read.problem = "a sample twice: " + line;
    } else {
      read.problem = "not a HELP, TYPE or sample line: \"" + line + "\"";
    }
  }
  return read;
}

}  // namespace norv::service::testing
