#include "service/update_once.h"

#include <ostream>

#include "service/bank_client.h"
#include "service/bank_update.h"
#include "service/commands.h"
#include "service/store.h"

namespace norv::service {

// The server's own log names each draw it added, as `update` prints them.
int RunUpdateOnce(const std::filesystem::path& store, std::string_view bank, std::ostream& err) {
  try {
    Store opened = Store::Open(store);
    BankClient client(bank);
    const std::vector<std::string> failures =
        UpdateStore(opened, client, [&err](const Draw& draw) { err << "norv-service serve: added " << Describe(draw) << '\n'; });
    for (const std::string& failure : failures) err << "norv-service serve: update: " << failure << '\n';
    return failures.empty() ? 0 : kExitFailure;
  } catch (const std::exception& error) {
    err << "norv-service serve: update: " << error.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace norv::service
