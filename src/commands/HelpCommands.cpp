#include "commands/HelpCommands.h"

namespace kivo {
namespace {

// Lowers the top-most windows for as long as it lives.
class LoweredTopMost {
public:
    explicit LoweredTopMost(TopMostPort& windows) : windows_(windows) { windows_.lowerTopMost(); }
    ~LoweredTopMost() { windows_.raiseTopMost(); }
    LoweredTopMost(const LoweredTopMost&) = delete;
    LoweredTopMost& operator=(const LoweredTopMost&) = delete;

private:
    TopMostPort& windows_;
};

}  // namespace

std::string helpMissingText(const std::string& documentPath) {
    return "ヘルプ ファイル " + documentPath +
           " が見つかりません。\nKivo を入れ直すと、ヘルプ ファイルも元に戻ります。";
}

std::string updateQuestion() {
    return "開発者ホームページに接続します\r\n"
           "\r\n"
           "Kivo の最新情報は TOP ページに設置してあるリンクを辿り、\r\n"
           "Software 内コンテンツを御参照下さい\r\n"
           "\r\n"
           "ブラウザを起動しますか？";
}

void HelpCommands::showHelp() {
    ports_.help.showHelpContents();
    ports_.topMost.lowerTopMost();
}

void HelpCommands::checkForUpdate() {
    const LoweredTopMost lowered(ports_.topMost);
    if (ports_.boxes.askYesNo(kUpdateCaption, updateQuestion()))
        ports_.urls.openUrl(kMakerHomePage);
}

void HelpCommands::printList() {
    if (!ports_.printer.setUpPrinter()) return;
    const BusyCursor busy(ports_.window);
    ports_.printer.printList();
}

}  // namespace kivo
