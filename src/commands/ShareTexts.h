#pragma once
// The texts of the share dialog (the stream files and the copied topics)
// and of the box that asks for the countdown's own length, for every
// window. A label's access key is its field's.
namespace kivo {

inline constexpr const char* kShareDialogCaption = "配信用ファイルとコピーの設定";
inline constexpr const char* kShareStreamOnText = "お題を配信用ファイルに書き出す(&W)";
inline constexpr const char* kShareStreamOnHint =
    "選出、お題のクリア、新規作成のたびに、お題をフォルダ内のテキストファイルに書き出します";
inline constexpr const char* kShareFolderText = "書き出し先のフォルダ(&F)：";
inline constexpr const char* kShareFolderHint =
    "topic1.txt、topic2.txt、topic3.txt、topics.txt、timer.txt を書き出すフォルダです";
inline constexpr const char* kShareBrowseText = "参照(&B)...";
inline constexpr const char* kShareBrowseHint = "書き出し先のフォルダを選びます";
// The folder dialog's title.
inline constexpr const char* kShareFolderDialogTitle = "書き出し先のフォルダを選んで下さい";
inline constexpr const char* kShareSeparatorText = "お題の区切り(&S)：";
inline constexpr const char* kShareSeparatorHint =
    "topics.txt とコピーで、お題とお題の間に入れる文字です";
inline constexpr const char* kShareLeadText = "コピーの先頭(&L)：";
inline constexpr const char* kShareLeadHint =
    "お題をコピー（Ctrl+Shift+C）で、お題の前に付ける文字です";
inline constexpr const char* kShareHashtagText = "ハッシュタグ(&H)：";
inline constexpr const char* kShareHashtagHint =
    "お題をコピーで、次の行に付けるハッシュタグです（例：#ワンドロ）。空欄なら付けません";
inline constexpr const char* kDialogOkText = "OK";
inline constexpr const char* kDialogCancelText = "キャンセル";

inline constexpr const char* kTimerDialogCaption = "タイマーの時間";
inline constexpr const char* kTimerMinutesText = "時間（分）(&M)：";
inline constexpr const char* kTimerMinutesHint =
    "カウントダウンする時間を 1 から 600 分で指定します";

}  // namespace kivo
