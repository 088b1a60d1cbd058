// Writing edited curves back into the text they were built from. The editor saves the show's curves
// into its source text this way, so a rebuild gives the same keys and nothing written by hand is
// lost: every comment line, blank line, the order of the blocks and the comment after a key stay.
#pragma once

#include <string>
#include <string_view>

#include "sync/sync_data.h"

namespace zelFramework {

// The text `original` with the keys of every controller that `data` holds replaced by the data's
// keys, each key line laid out in the columns the original uses. A key kept at the same time (or at
// the same place, when the count is unchanged) keeps the comment after it and the comment lines
// before it; the comments of a removed key move to the next key. Blocks the data does not name
// stay as written; controllers with keys that the text lacks are added at its end.
// False with `problem` when `original` is not a valid text (then `out` is untouched).
bool mergeSyncText(std::string_view original, const SyncData& data, std::string& out, std::string& problem);

}  // namespace zelFramework
