#pragma once
// The list as the printer gets it: a rich-text document of its text with
// the formats it shows.
#include "core/TextStyle.h"

class QFont;
class QPrinter;

namespace kivo {

// Prints the whole list in `font`, each formatted stretch in its own
// format, as one job on `printer` (see printDocument).
void printStyledList(const StyledText& list, const QFont& font, QPrinter& printer);

}  // namespace kivo
