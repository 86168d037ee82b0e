#pragma once
// A number as a spreadsheet's General format shows it when the column is
// wide enough: at most 15 significant digits (all a spreadsheet keeps),
// no trailing zeros, and an exponent only for magnitudes of 1E+15 and
// more or below 1E-9 ("1.5E+17", "9.9E-10"). LibreOffice writes its cells
// this way, so a workbook and its Calc copy give the same lines. A column
// of standard width would cut long numbers short, codes of twelve digits
// among them; a list has no columns.
#include <string>

namespace kivo {

// The shown form of value; empty for an infinity or NaN, which no cell holds.
std::string generalNumber(double value);

}  // namespace kivo
