// The text form of the sync data: what the show's curves are written and reviewed in.
//
//   # Lines starting with '#' and blank lines are ignored.
//   controller "ZEL: Gamma"
//       0       1
//       2.5     0.8     smoothstep  valval
//       10      1       linear      valone
//
//   controller "Glitch: intensity"
//
// One block per controller, in file order, opened by `controller` and the name in double quotes.
// Every following line up to the next `controller` is one key, in file order:
//   first key:        TIME VALUE
//   every later key:  TIME VALUE CURVE ENDS
// where CURVE and ENDS describe the segment that leads from the previous key into this one.
// A block without key lines is a controller without keys.
//
// TIME and VALUE are decimal numbers (seconds, and the key's value), written in the shortest form
// that reads back as the same 32-bit float; `inf` and `-inf` are allowed, and `raw:XXXXXXXX` gives
// the float's eight hex digits exactly (used for NaNs, whose bits a decimal cannot carry).
// CURVE is one of linear smoothstep exponential minexponential, ENDS one of valval valzero valone
// zeroval oneval oneone zerozero; either may also be a decimal code, which is how 0 ("keep the
// default") and codes outside the tables are written.
// In names, `\"` and `\\` stand for themselves and `\xNN` for any byte; bytes outside printable
// ASCII are always written as `\xNN`, including a zero byte followed by data that the file carried.
//
// Writing a file's text and building it again reproduces the file byte for byte. Keys are kept in
// the order written; loading into the controllers sorts them as the binary loader does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sync/sync_data.h"

namespace zelFramework {

std::string formatSyncText(const SyncData& data);

// What one line of a text was, for tools that rewrite a text in place (keeping its comments).
struct SyncTextLine {
    enum Kind { Other, Controller, Key } kind = Other;  // Other: blank or comment
    std::string_view text;  // the whole line, without its line end
    size_t controller = 0;  // Controller and Key: index of the block in the parsed data
    size_t key = 0;         // Key: index of the key in its block
    size_t wordsEnd = 0;    // Key: where the last word of the key ends (a comment may follow)
};

// False with `problem` ("line N: ...") when the text is not in the form above; `out` is then untouched.
// With `lines`, also tells what every line of the text was.
bool parseSyncText(std::string_view text, SyncData& out, std::string& problem,
                   std::vector<SyncTextLine>* lines = nullptr);

// The words of a line before any comment.
std::vector<std::string_view> syncTextWords(std::string_view line);

// A float as the text form writes it (the shortest decimal that reads back the same, or raw:XXXXXXXX).
std::string formatSyncFloat(float f);

// Names of the curve and ends codes, or their decimal code when they have no name.
std::string curveName(int32_t curve);
std::string endsName(int32_t ends);

}  // namespace zelFramework
