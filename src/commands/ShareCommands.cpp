#include "commands/ShareCommands.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

#include "commands/PresentationLayout.h"
#include "core/Errors.h"
#include "core/PathRules.h"
#include "files/ListExport.h"

namespace kivo {
namespace {

const DialogSettings kSaveCsv{"CSV ファイル　(*.csv)|*.csv|全てのファイル　(*.*)|*.*", ".csv"};
constexpr const char* kTopicFileNames[] = {"topic1.txt", "topic2.txt", "topic3.txt"};

// On Windows a reader that has the file open (a stream's text source
// reading it just then) keeps it from being replaced for a moment: tries
// spread over about half a second before that counts as a failure.
void writeStreamFile(const std::filesystem::path& path, std::string_view text) {
    constexpr int kTries = 10;
    for (int attempt = 1;; ++attempt) {
        try {
            return writeFileSafely(path, text, FileReplacement::WhenFolderIsClosed::Fail);
        } catch (const UserError&) {
            if (attempt == kTries) throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * attempt));
    }
}

}  // namespace

ShareSettings readShareSettings(SettingsStore& store) {
    ShareSettings settings;
    settings.streamOn = store.readBool(kStreamOnSetting).value_or(false);
    settings.folder = store.readString(kStreamFolderSetting).value_or("");
    settings.separator = store.readString(kShareSeparatorSetting).value_or(settings.separator);
    settings.lead = store.readString(kShareLeadSetting).value_or(settings.lead);
    settings.hashtag = store.readString(kShareHashtagSetting).value_or("");
    return settings;
}

void writeShareSettings(SettingsStore& store, const ShareSettings& settings) {
    store.writeBool(kStreamOnSetting, settings.streamOn);
    store.writeString(kStreamFolderSetting, settings.folder);
    store.writeString(kShareSeparatorSetting, settings.separator);
    store.writeString(kShareLeadSetting, settings.lead);
    store.writeString(kShareHashtagSetting, settings.hashtag);
}

std::vector<StreamFile> topicStreamFiles(const DrawnTopics& topics, std::string_view separator,
                                         bool withThird) {
    std::vector<StreamFile> files;
    for (std::size_t t = 0; t < (withThird ? 3u : 2u); ++t)
        files.push_back({kTopicFileNames[t], t < topics.size() ? topicEntry(topics[t]) : ""});
    files.push_back({"topics.txt", joinedTopics(topics, separator, false)});
    return files;
}

std::string topicsCopyText(const DrawnTopics& topics, const ShareSettings& settings) {
    std::string text = settings.lead + joinedTopics(topics, settings.separator, false);
    if (!settings.hashtag.empty()) text += "\n" + settings.hashtag;
    return text;
}

ShareCommands::ShareCommands(TopicCommands& topics, MainWindowPort& window, BoxPort& boxes,
                             FileDialogPort& dialogs, ShareDialogPort& shareDialog,
                             SettingsStore& settings)
    : topics_(topics),
      window_(window),
      boxes_(boxes),
      dialogs_(dialogs),
      shareDialog_(shareDialog),
      store_(settings),
      settings_(readShareSettings(settings)) {
    topics_.current().observe(*this);
}

void ShareCommands::editShareSettings() {
    ShareSettings edited = settings_;
    for (;;) {
        const std::optional<ShareSettings> taken = shareDialog_.editShareSettings(edited);
        if (!taken) return;
        edited = *taken;
        if (!edited.streamOn || !edited.folder.empty()) break;
        boxes_.warning(kStreamNeedsFolderText);
    }
    settings_ = edited;
    writeShareSettings(store_, settings_);
    // Written at once, so that a text source can be pointed at the files.
    writeTopicsNow();
    timerChanged(timerText_);
}

void ShareCommands::copyTopics() {
    const DrawnTopics& topics = topics_.current().get();
    if (topics.empty()) return boxes_.message(kNoTopicsToCopyText);
    window_.copyToClipboard(topicsCopyText(topics, settings_));
}

void ShareCommands::saveHistoryCsv() {
    const DrawHistory& history = topics_.drawer().history();
    if (history.empty()) return boxes_.message(kNoHistoryText);
    const std::optional<std::string> path = dialogs_.saveFile(kSaveCsv);
    if (!path) return;
    writeFileSafely(pathFromUtf8(*path), history.csv());
}

void ShareCommands::timerChanged(const std::string& text) {
    timerText_ = text;
    writeStreamFiles({{kTimerStreamFile, text}});
}

void ShareCommands::topicsShown(const DrawnTopics& topics) { writeTopics(topics); }

void ShareCommands::topicsCleared() { writeTopics({}); }

void ShareCommands::writeTopics(const DrawnTopics& topics) {
    if (!settings_.streamOn) return;
    // A third topic left from a three-topic draw would stay on the stream.
    std::error_code ignored;
    const bool third =
        topics.size() > 2 ||
        std::filesystem::exists(pathFromUtf8(settings_.folder) / kTopicFileNames[2], ignored);
    writeStreamFiles(topicStreamFiles(topics, settings_.separator, third));
}

void ShareCommands::writeStreamFiles(const std::vector<StreamFile>& files) {
    if (!settings_.streamOn) return;
    const std::filesystem::path folder = pathFromUtf8(settings_.folder);
    try {
        for (const StreamFile& file : files) writeStreamFile(folder / file.name, file.text);
    } catch (const UserError& error) {
        settings_.streamOn = false;
        store_.writeBool(kStreamOnSetting, false);
        boxes_.error(std::string(error.what()) + "\n" + kStreamStoppedText);
    }
}

}  // namespace kivo
