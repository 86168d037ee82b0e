#pragma once
// The topics leaving the program as text: files a stream's text source
// reads (OBS's "read from file"), the topics copied as a line to post with
// a hashtag, and the history of draws saved as CSV.
#include <string>
#include <string_view>
#include <vector>

#include "commands/Ports.h"
#include "commands/TopicCommands.h"

namespace kivo {

// Where the share dialog's values are kept between runs.
inline constexpr const char* kStreamOnSetting = "Share/StreamOn";
inline constexpr const char* kStreamFolderSetting = "Share/StreamFolder";
inline constexpr const char* kShareSeparatorSetting = "Share/Separator";
inline constexpr const char* kShareLeadSetting = "Share/Lead";
inline constexpr const char* kShareHashtagSetting = "Share/Hashtag";

// Shown after a stream file's error, once: the output is off from then on.
inline constexpr const char* kStreamStoppedText =
    "配信用ファイルの書き出しをオフにしました。ツール › 配信用ファイルに書き出す… で設定し直せます";
inline constexpr const char* kStreamNeedsFolderText = "書き出し先のフォルダを選んで下さい";
inline constexpr const char* kNoTopicsToCopyText =
    "コピーするお題がありません。先にお題を選出して下さい";
inline constexpr const char* kNoHistoryText = "保存するお題の履歴がありません";

ShareSettings readShareSettings(SettingsStore& store);
void writeShareSettings(SettingsStore& store, const ShareSettings& settings);

// One file of a stream's folder and its bytes: UTF-8 without a byte-order
// mark or a line break at the end, which a text source would show.
struct StreamFile {
    const char* name;
    std::string text;
};
// topic1.txt, topic2.txt, topic3.txt (when `withThird`) and topics.txt,
// the topics joined by `separator`; all empty for no topics.
std::vector<StreamFile> topicStreamFiles(const DrawnTopics& topics, std::string_view separator,
                                         bool withThird);
inline constexpr const char* kTimerStreamFile = "timer.txt";

// "お題：猫 × 図書館", and the hashtag on a line of its own when there is one.
std::string topicsCopyText(const DrawnTopics& topics, const ShareSettings& settings);

class ShareCommands : public TopicsObserver {
public:
    // Reads the dialog's values from `settings`; every port must outlive
    // the commands. Follows the topics from now on.
    ShareCommands(TopicCommands& topics, MainWindowPort& window, BoxPort& boxes,
                  FileDialogPort& dialogs, ShareDialogPort& shareDialog, SettingsStore& settings);

    // The share dialog; what OK took is kept, and, with the output on, the
    // files are written at once so that a text source can be set up.
    void editShareSettings();
    const ShareSettings& settings() const { return settings_; }
    // Edit › お題をコピー.
    void copyTopics();
    // The history window's CSV button: the save dialog, then the file.
    void saveHistoryCsv();
    // The countdown's face changed; empty when no countdown is set.
    void timerChanged(const std::string& text);
    // With the output on, the topic files as the topics now are: as the
    // program starts, so that a stream shows nothing left from the last
    // run (the countdown writes its own file as it first shows).
    void writeTopicsNow() { writeTopics(topics_.current().get()); }

    void topicsShown(const DrawnTopics& topics) override;
    void topicsCleared() override;

private:
    // Writes each file whole in place of the old; the first failure shows
    // its error and switches the output off, without stopping the draw.
    void writeStreamFiles(const std::vector<StreamFile>& files);
    void writeTopics(const DrawnTopics& topics);

    TopicCommands& topics_;
    MainWindowPort& window_;
    BoxPort& boxes_;
    FileDialogPort& dialogs_;
    ShareDialogPort& shareDialog_;
    SettingsStore& store_;
    ShareSettings settings_;
    std::string timerText_;
};

}  // namespace kivo
