// The show's curves have two forms: the text an author writes (content/sync/demosynch.txt in the
// repository) and the binary file the build makes from it and the show loads. The build leaves the
// text's path beside the binary, so that an editor save can write both and the next build gives the
// same keys back.
#pragma once

#include <string>

namespace zelFramework {

class ControllerSet;

// Beside the sync data file, relative to the resources folder: one line, the path of the text.
inline constexpr const char* SYNC_SOURCE_RECORD = "data\\demosynch.source";

struct CurveSaveReport {
    bool binarySaved = false;
    bool textSaved = false;
    std::string textPath;  // empty when no source is recorded
    std::string message;   // one line for the author: what was written, or why the text was not
};

// Writes the set into its source text (comments and order kept) and then into the sync data file.
// The binary is written whatever happens to the text; a text that cannot be written is reported with
// a WARNING trace line (the edits then live only in the binary, until the next build replaces it).
// A text newer than the sync data file holds edits the show never loaded: before the merge writes
// over them it is copied whole to "TEXT.before-save" (told in the message and a WARNING).
CurveSaveReport saveShowCurves(const ControllerSet& set);

// The source text recorded beside the sync data, or empty (with `problem`) when there is no record.
std::string recordedSourceText(std::string& problem);

}  // namespace zelFramework
