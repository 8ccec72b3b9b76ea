#pragma once
// Brings a store up to the bank: for each series, the per-draw files of the
// draws after the newest one held, in order, until the bank has not published
// the next one yet (404).

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "service/bank_client.h"
#include "service/bank_csv.h"
#include "service/store.h"

namespace norv::service {

// Each file's draws are stored as soon as the file has been read whole, and
// `added` hears of every draw stored, so a failure keeps what came before it.
// A file that cannot be read or that conflicts with the store ends its series
// only; a refusal by the bank, the network or an unexpected status ends the
// whole update. Returns one reason per failure, none when all went well.
// StoreError from the store passes through.
//
// `answers`, when given, hears what the bank last answered for each series
// asked ("answered 404 for A1022086.CSV"), so that a game left behind can be
// explained; a series not asked in this run has no entry.
using BankAnswers = std::map<BankSeries, std::string>;
std::vector<std::string> UpdateStore(Store& store, BankClient& bank, const std::function<void(const Draw&)>& added,
                                     BankAnswers* answers = nullptr);

}  // namespace norv::service
