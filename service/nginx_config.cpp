#include "service/nginx_config.h"

#include <stdexcept>
#include <string_view>
#include <utility>

// The template is part of the program, as the seed is: a deployed
// norv-service needs no file beside it.
__asm__(".pushsection .rodata\n"
        ".global norv_nginx_template_begin\n.hidden norv_nginx_template_begin\n"
        ".global norv_nginx_template_end\n.hidden norv_nginx_template_end\n"
        "norv_nginx_template_begin:\n.incbin \"" NORVALE_NGINX_TEMPLATE "\"\n"
        "norv_nginx_template_end:\n.popsection\n");

extern "C" {
extern const char norv_nginx_template_begin[], norv_nginx_template_end[];
}

namespace norv::service {

namespace {

void ReplaceAll(std::string& text, std::string_view field, const std::string& value) {
  for (std::size_t at = text.find(field); at != std::string::npos; at = text.find(field, at + value.size())) {
    text.replace(at, field.size(), value);
  }
}

// nginx reads a $ as a variable, and a backslash or a quote as an escape, even inside quotes.
void CheckPath(const std::filesystem::path& path) {
  for (const char c : path.string()) {
    if (c == '"' || c == '$' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
      throw NginxConfigError("nginx cannot be given the folder \"" + path.string() +
                             "\": it holds a quote, a $, a backslash or a control character");
    }
  }
}

}  // namespace

std::string NginxConfig(const NginxSite& site) {
  CheckPath(site.root);
  CheckPath(site.state);
  std::string text(norv_nginx_template_begin, norv_nginx_template_end);
  const std::pair<std::string_view, std::string> fields[] = {
      {"@USER@", site.asRoot ? "user root;" : ""},
      {"@WORKERS@", site.workers > 0 ? std::to_string(site.workers) : "auto"},
      {"@STATE@", site.state.string()},
      {"@LISTEN@", site.listen},
      {"@ROOT@", site.root.string()},
      {"@ACCESS_LOG@", site.logRequests ? "/dev/stderr requests" : "off"},
      {"@HEADER_SECONDS@", std::to_string(site.headerSeconds)},
  };
  for (const auto& [field, value] : fields) ReplaceAll(text, field, value);
  return text;
}

}  // namespace norv::service
