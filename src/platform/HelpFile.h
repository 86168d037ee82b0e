#pragma once
// The application's help file: where it lives, and the path that a help
// request opens. The path is set at start-up and again before every help
// request.
#include <QString>

namespace kivo {

// The help file's name; it lives in the executable's folder, or, once
// installed, in the program's data folder beside bin/.
inline const QString kHelpFileName = QStringLiteral("kHelp.hlp");

// The help file of a program in `programFolder`: beside the program when its
// document lies there (a build), else in the installed data folder when the
// document lies there, else beside the program.
QString helpFileOf(const QString& programFolder);
// The same for the running executable, whatever the working folder.
QString helpFileOfExecutable();

// The example list of that name for a program in `programFolder`, found
// where its help document is found: in the examples folder beside the
// program (a build), else in the one in the installed data folder. Empty
// when neither holds it.
QString exampleListOf(const QString& programFolder, const QString& fileName);

void setApplicationHelpFile(const QString& path);
QString applicationHelpFile();

}  // namespace kivo
