#pragma once
// Flat previews of the layered slides, stacked as the show stacks them (animation frozen, perspective
// cards placed where they roughly appear), read back from the written files. For the contact sheet.
#include <string>
#include <vector>

#include "contact_sheet.h"

namespace zelFramework::content {

std::vector<ContactSheetEntry> slidePreviews(const std::string& resourcesDir);

}  // namespace zelFramework::content
