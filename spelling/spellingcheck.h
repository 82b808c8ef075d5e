#pragma once
// The spelling check of the 25 section texts through a spreadsheet
// application driven by automation.

#include <array>

#include <QString>

#include "model/fieldtable.h"

namespace vinkring {

class Automation;

using SectionTexts = std::array<QString, kSectionCount>;

// Runs the check over a working copy of the texts and returns the copy.
// Every failing step is skipped silently.
SectionTexts runSpellingCheck(SectionTexts texts, Automation& automation);

}  // namespace vinkring
