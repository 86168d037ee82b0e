#pragma once
// What the Help menu's help and update commands and the File menu's print
// command do, through the platform's parts.
#include <QString>

class QTextDocument;
class QWidget;

namespace kivo {

class Boxes;
class HelpEngine;
class PrinterPort;
class TopMostWindows;
class UrlOpener;

// The maker's home page, where the newest version is announced.
inline const QString kMakerHomePage = QStringLiteral("https://quillery.example.jp/");
inline const QString kUpdateCaption = QStringLiteral("Kivo アップデート");
// The help file's name; it lives in the executable's folder, or, once
// installed, in the program's data folder beside bin/.
inline const QString kHelpFileName = QStringLiteral("kHelp.hlp");

// The update question: six lines joined by CR LF, none after the last.
QString updateQuestion();
// The help file of a program in `programFolder`: beside the program when its
// document lies there (a build), else in the installed data folder when the
// document lies there, else beside the program.
QString helpFileOf(const QString& programFolder);
// The same for the running executable, whatever the working folder.
QString helpFileOfExecutable();

// Help: makes the help file of the executable the application's help
// file and opens its contents for the main window, then steps the program's
// top-most windows aside. They are not brought back: the help stays in
// front of them.
void showHelp(QWidget& mainWindow, HelpEngine& help, TopMostWindows& topMost);

// Update check: asks whether to open the maker's page; on Yes, opens it in
// the browser without waiting for it. The top-most windows step aside for
// the question and come back after it.
void checkForUpdate(QWidget& mainWindow, Boxes& boxes, UrlOpener& urls, TopMostWindows& topMost);

// Print: the printer set-up dialog, then, unless cancelled, the whole list
// on the current printer.
void printWordList(const QTextDocument& list, PrinterPort& printer, QWidget* owner);

}  // namespace kivo
