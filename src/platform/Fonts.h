#pragma once

namespace kivo {

// Where the Windows fonts the window names are absent, draw with the IPA
// Gothic faces, which hold every Japanese character the program shows.
void installJapaneseFontSubstitutes();

}  // namespace kivo
