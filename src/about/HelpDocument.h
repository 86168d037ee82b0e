#pragma once
// Where the help document lives, and opening it in the Qt window.
#include <QString>

class QWidget;

namespace kivo {

class HelpEngine;

// The help file's name; it lives in the executable's folder, or, once
// installed, in the program's data folder beside bin/.
inline const QString kHelpFileName = QStringLiteral("kHelp.hlp");

// The help file of a program in `programFolder`: beside the program when its
// document lies there (a build), else in the installed data folder when the
// document lies there, else beside the program.
QString helpFileOf(const QString& programFolder);
// The same for the running executable, whatever the working folder.
QString helpFileOfExecutable();

// Makes the help file of the executable the application's help file and
// opens its contents for the main window.
void showHelpContents(QWidget& mainWindow, HelpEngine& help);

}  // namespace kivo
