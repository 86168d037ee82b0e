#pragma once
// The toolkit's own texts (dialog labels and buttons, file types, sizes and
// dates) in Japanese, whatever language the desktop is set to: the program
// speaks Japanese only, and its dialogs with it.

namespace kivo {

// Qt's Japanese catalogue, and over it the program's own for the texts that
// catalogue lacks. Needs the application object; call once, before any
// window is made.
void useJapaneseToolkitTexts();

}  // namespace kivo
