#pragma once
// The draws a data file already holds are the witness against a history that
// contradicts them: each was checked when it arrived. Only both of the
// maker's copies together may change one; that is how a real correction comes.
// Contents are data files: whole records of `recordBytes`, each with its CR LF.

#include <cstddef>
#include <string>
#include <string_view>

namespace norv {

// Whether `offered` leaves every draw that it and `held` both hold whole as
// `held` has it, save where `witness` (the other copy, empty when there is
// none) gives the same new record as `offered`.
bool KeepsHeldDraws(std::string_view offered, std::string_view held, std::string_view witness,
                    std::size_t recordBytes);

// `offered`, then the whole records `held` has beyond its end: a shorter
// history never drops a draw. A torn tail of `held` is left out.
std::string WithHeldDrawsBeyond(std::string offered, std::string_view held, std::size_t recordBytes);

}  // namespace norv
