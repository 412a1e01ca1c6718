// SPDX-License-Identifier: MIT
#pragma once
// Every text the program puts in front of a person or into the chat log, once, in UTF-8 as
// the source is written. Qt code takes them with QString::fromUtf8; the core takes them as
// code page 932 through Cp932<>(). Formats are filled with FillFormat, never with printf.

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace korvane {
namespace text {

// Window and controls.
inline constexpr char kMainTitle[] = "Korvane";
inline constexpr char kConnectedMembers[] = "接続中のメンバ";
inline constexpr char kUpdatingMembers[] = "メンバリスト更新中・・・";
inline constexpr char kInputLabel[] = "メッセージ入力フィールド";
inline constexpr char kLoginGroup[] = "ＬｏｇＩｎ";
inline constexpr char kLoginButton[] = "Ｉｎ";
inline constexpr char kLogoutButton[] = "ＬｏｇＯｕｔ";
inline constexpr char kSendButton[] = "送信";
inline constexpr char kClearButton[] = "消去";
inline constexpr char kNameColumn[] = "ネーム";
inline constexpr char kAddressColumn[] = "アドレス";
inline constexpr char kTrayTip[] = "Korvane - connection is <%d>";

// What a screen reader calls the controls that show no text of their own.
inline constexpr char kNameMessageDisplay[] = "メッセージ表示";
inline constexpr char kNameHandle[] = "ハンドルネーム";
inline constexpr char kNameLogSize[] = "ログファイルサイズ（K byte）";
inline constexpr char kNameStepUp[] = "増やす";
inline constexpr char kNameStepDown[] = "減らす";
inline constexpr char kNameScrollLeft[] = "左へスクロール";
inline constexpr char kNameScrollRight[] = "右へスクロール";
inline constexpr char kNameOctet1[] = "ＩＰアドレスの1番目の欄";
inline constexpr char kNameOctet2[] = "ＩＰアドレスの2番目の欄";
inline constexpr char kNameOctet3[] = "ＩＰアドレスの3番目の欄";
inline constexpr char kNameOctet4[] = "ＩＰアドレスの4番目の欄";

// Menus of the menu bar.
inline constexpr char kMenuMain[] = "メニュー（&M）";
inline constexpr char kMenuSettings[] = "設定（&S）";
inline constexpr char kMenuDisplayMode[] = "表示モード（&M）";
inline constexpr char kMenuHelp[] = "ヘルプ（&H）";

// Commands, as the main menu names them.
inline constexpr char kCmdSystemAbout[] = "ﾊﾞｰｼﾞｮﾝ情報(Korvane) (&A)...";
inline constexpr char kCmdAbout[] = "バージョン情報（&V）";
inline constexpr char kCmdLogin[] = "ログイン（&I）";
inline constexpr char kCmdLogout[] = "ログアウト（&O）";
inline constexpr char kCmdClearDisplay[] = "メッセージの消去（&C）";
inline constexpr char kCmdHelp[] = "Korvaneの使い方（&J）";
inline constexpr char kCmdSystemMessages[] = "システムメッセージを出力する";
inline constexpr char kCmdEcho[] = "折り返し（エコー）メッセージを出力する";
inline constexpr char kCmdSettings[] = "環境設定（&K）";
inline constexpr char kCmdShowPhrases[] = "定型文の表示（&S）";
inline constexpr char kCmdViewLog[] = "ログの参照（&L）";
inline constexpr char kCmdClearLog[] = "ログのクリア（&D）";
inline constexpr char kCmdDeselectAll[] = "選択メンバをすべて解除(&E)";
inline constexpr char kCmdAutoWrap[] = "長いメッセージは自動で改行する";
inline constexpr char kCmdQuit[] = "Korvaneの終了（&E）";

// Commands, as the tray menu and the context menus name them.
inline constexpr char kItemAbout[] = "バージョン情報";
inline constexpr char kItemLogout[] = "ログアウト";
inline constexpr char kItemClearDisplay[] = "メッセージの消去";
inline constexpr char kItemSettings[] = "環境設定";
inline constexpr char kItemShowPhrases[] = "定型文の表示";
inline constexpr char kItemViewLog[] = "ログの参照";
inline constexpr char kItemClearLog[] = "ログのクリア";
inline constexpr char kItemDeselectAll[] = "選択メンバをすべて解除";
inline constexpr char kItemQuit[] = "Korvaneの終了";

// Tooltips of the toolbar buttons.
inline constexpr char kTipSettings[] = "環境設定";
inline constexpr char kTipAutoWrap[] = "長いメッセージを自動で改行する";
inline constexpr char kTipSystemMessages[] = "システムメッセージを表示する";
inline constexpr char kTipHelp[] = "Korvaneの使い方";

// The help file, opened through the desktop from the current folder.
inline constexpr char kHelpFile[] = "KvHelp.hlp";

// The about box.
inline constexpr char kAboutTitle[] = "Version [Korvane]";
inline constexpr char kAboutOk[] = "OK";
inline constexpr char kAboutMail[] = "Mail";
inline constexpr char kAboutHeading[] = "Korvane";
inline constexpr char kAboutVersion[] = "Version %s";
inline constexpr char kAboutTagline[] = "オフィスのLANのためのサーバ不要のチャット";
inline constexpr char kAboutContact[] = "連絡先: %s";
inline constexpr char kMailtoPrefix[] = "mailto:";
// The settings dialog and its pages.
inline constexpr char kSettingsTitle[] = "環境設定";
inline constexpr char kSettingsApply[] = "適用";
inline constexpr char kSettingsClose[] = "終了";
inline constexpr char kTabIcon[] = "アイコン時";
inline constexpr char kTabPhrases[] = "定型文";
inline constexpr char kTabStartup[] = "起動時";
inline constexpr char kTabLog[] = "ログ";
inline constexpr char kTabColours[] = "表示色";
inline constexpr char kTabOutDomain[] = "ドメイン外通信";
inline constexpr char kIconGroup[] = "アイコン時の動作を指定して下さい";
inline constexpr char kIconPopUp[] = "アイコン時ポップアップする";
inline constexpr char kIconConfirm[] = "アイコン時確認メッセージを表示する";
inline constexpr char kIconBlink[] = "ポップアップしない（アイコンムービー）";
inline constexpr char kPhrasesPrompt[] = "定型文を登録して下さい";
inline constexpr char kPhraseLabel1[] = "M1";
inline constexpr char kPhraseLabel2[] = "M2";
inline constexpr char kPhraseLabel3[] = "M3";
inline constexpr char kPhraseLabel4[] = "M4";
inline constexpr char kPhraseLabel5[] = "M5";
inline constexpr char kStartIconised[] = "起動時にアイコン化";
inline constexpr char kStartAutoLogin[] = "起動時に自動ログイン";
inline constexpr char kStartDefaultName[] = "デフォルトで使用するログイン名";
inline constexpr char kStartNote[] = "（注）次回の起動時より有効になります";
inline constexpr char kLogOff[] = "ログをとらない";
inline constexpr char kLogOn[] = "ログをとる";
inline constexpr char kLogFileLabel[] = "ログファイル名";
inline constexpr char kLogBrowse[] = "参照";
inline constexpr char kLogSizeLimit[] = "ログファイルサイズを指定する";
inline constexpr char kLogSizeUnit[] = "K byte (1K byte = 1,024 byte)";
inline constexpr char kLogFileFilter[] = "Text Files (*.txt);;All Files (*)";
inline constexpr char kColourGroup[] = "メッセージ表示部";
inline constexpr char kColourText[] = "テキスト色";
inline constexpr char kColourBack[] = "背景色";
inline constexpr char kColourSample[] = "Aa あア 亜";
inline constexpr char kOutDomainOff[] = "ローカルドメイン外と通信を行わない";
inline constexpr char kOutDomainOn[] = "ローカルドメイン外と通信を行う";
inline constexpr char kOutDomainAdd[] = "追加";
inline constexpr char kOutDomainUpdate[] = "更新";
inline constexpr char kOutDomainDelete[] = "削除";
inline constexpr char kAddressColumnIp[] = "ＩＰアドレス";
inline constexpr char kAddressColumnName[] = "ネーム";
inline constexpr char kAddressTitle[] = "登録ＩＰアドレス";
inline constexpr char kAddressName[] = "ネーム";
inline constexpr char kAddressOctets[] = "ＩＰアドレス（半角入力）";
inline constexpr char kAddressRegister[] = "登録";
inline constexpr char kAddressCancel[] = "キャンセル";

// Lines of the display.
inline constexpr char kChatMarker[] = " > ";
inline constexpr char kSelectiveMarker[] = "(特定)> ";
inline constexpr char kEnterHandle[] = "*** ハンドルネームを入力してください ***";
inline constexpr char kLogInFirst[] = "*** ログインして下さい ***";
inline constexpr char kTextTooLong[] = "*** メッセージが長すぎます（932バイトまで） ***";
inline constexpr char kTextNotSendable[] = "*** 送れない文字があります（シフトJISの文字だけが送れます） ***";
inline constexpr char kLoggedOut[] = "*** ログアウトしました ***";
inline constexpr char kMemberLoggedIn[] = "*** <<%s>> がログインしました ***";
inline constexpr char kMemberIsLoggedIn[] = "*** <<%s>> がログインしています ***";
inline constexpr char kMemberLoggedOut[] = "*** <<%s>> がログアウトしました ***";
inline constexpr char kMemberMayHaveLeft[] = "*** <<%s>> はログアウトしたかもしれません ***";
inline constexpr char kPhraseLine1[] = "[M1]%s";
inline constexpr char kPhraseLine2[] = "[M2]%s";
inline constexpr char kPhraseLine3[] = "[M3]%s";
inline constexpr char kPhraseLine4[] = "[M4]%s";
inline constexpr char kPhraseLine5[] = "[M5]%s";
inline constexpr char kAlertBanner[] = "*******************************";
inline constexpr char kAlertBannerText[] = " ここからがアイコン中のメッセージ";
inline constexpr char kAddressChanged[] = "*** アドレスが %s に変わりました ***";

// Message boxes.
inline constexpr char kSocketInitFailed[] = "Windows ｿｹｯﾄの初期化に失敗しました。";
inline constexpr char kAlreadyRunning[] = "二重起動はできません！";
inline constexpr char kSlotCreateFailed[] = "メールスロットの作成に失敗しました";
inline constexpr char kSlotOpenFailed[] = "書き込み用メールスロットのオープンに失敗した";
inline constexpr char kSlotWriteFailed[] = "メールスロットへの書き込みに失敗しました";
inline constexpr char kSameColours[] = "表示エリアの背景色と文字色が同じです！";
inline constexpr char kMessageAlert[] = "< %s > の発言がありました！";
inline constexpr char kHandleInUse[] =
    "<<%s>> はすでに使用されているハンドル名です。\n別のハンドル名でログインして下さい。";
inline constexpr char kBadLogFileName[] = "[ERROR] 不正なログファイル名です";
inline constexpr char kCharacterNotStorable[] = "使えない文字です（シフトJISの文字だけが使えます）";
inline constexpr char kEntryTooLong[] = "%d バイトまでです（全角文字は2バイト）";
inline constexpr char kAddressMissing[] = "ＩＰアドレス情報が不足しています";
inline constexpr char kAddressInvalid[] = "不正なＩＰアドレスです";
inline constexpr char kAddressTaken[] = "すでに登録されているＩＰアドレスです";
inline constexpr char kNothingToUpdate[] = "更新する情報が選ばれていません";
inline constexpr char kAddressListFull[] = "登録できるＩＰアドレスは100件までです";
inline constexpr char kAddressNotHeld[] =
    "アドレス %s はこのコンピュータにありません。\n%s を使います。";
inline constexpr char kFileOpenError[] = "[ERROR] Open File(%s)";
inline constexpr char kFileReadError[] = "[ERROR] Read File(%s)";
inline constexpr char kFileWriteError[] = "[ERROR] Write File(%s)";

// The command line's answers, printed to the terminal as they stand.
inline constexpr char kUsage[] =
    "Usage: korvane [--address ADDRESS]\n"
    "Chat with the desktops of the office network.\n"
    "\n"
    "  --address ADDRESS  be reached at ADDRESS (IPv4, held by an interface of this\n"
    "                     computer) instead of the default route's address\n"
    "  --help             show this help and exit\n"
    "  --version          show the version and exit\n";
inline constexpr char kVersionLine[] = "korvane %s\n";
inline constexpr char kUnknownOption[] = "korvane: unknown option '%s'\nTry 'korvane --help'.\n";
inline constexpr char kBadAddressOption[] =
    "korvane: --address wants an IPv4 address such as 192.168.1.20, not '%s'\n";

// Trace lines of the chat log.
inline constexpr char kTracePacketRead[] = "------------";
inline constexpr char kTraceSlotClosed[] = "Already Mailslot was closed";
inline constexpr char kTraceNotLoggedIn[] = "Disposed Message (not login)";
inline constexpr char kTraceOwnMessage[] = "Received Own Message";
inline constexpr char kTraceHello[] = "Received CMD_HELLO %.16s";
inline constexpr char kTraceHelloReply[] = "Received RSP_HELLO %.16s";
inline constexpr char kTraceBye[] = "Received CMD_BYE %.16s";
inline constexpr char kTraceSelective[] = "Received SL_MSG %.16s";
inline constexpr char kTraceBroadcast[] = "Received BC_MSG %.16s";
inline constexpr char kTraceHealthReply[] = "Received RSP_HLTHY %.16s";
inline constexpr char kTraceOwnHello[] = "Received My Send CMD_HELLO";
inline constexpr char kTraceOwnBye[] = "Received My Send CMD_BYE";
inline constexpr char kTraceOwnSelective[] = "Received My Send SL_MSG";
inline constexpr char kTraceOwnBroadcast[] = "Received My Sned BC_MSG";
inline constexpr char kTraceOwnHealthQuery[] = "Received My Send CMD_HLTHY";
inline constexpr char kTraceOwnHealthReply[] = "Received My Send RSP_HLTHY";
inline constexpr char kTraceOtherHelloReply[] = "Received Other RSP_HELLO";
inline constexpr char kTraceOtherLogoutRequest[] = "Received Other REQ_OUT";
inline constexpr char kTraceOtherSelective[] = "Received Other SL_MSG";
inline constexpr char kTraceOtherHealthReply[] = "Received Other RSP_HLTHY";
inline constexpr char kTraceMyHelloReply[] = "Received My RSP_HELLO";
inline constexpr char kTraceMySelective[] = "Received My SL_MSG";
inline constexpr char kTraceKnownHello[] = "Already connected member";
inline constexpr char kTraceKnownHelloReply[] = "Already connect member";
inline constexpr char kTraceUnknownBye[] = "Already disconnect member";
inline constexpr char kTraceUnknownSender[] = "Not connect member";

}  // namespace text

// A text of the table in code page 932, converted once.
template <const char* Utf8>
const std::string& Cp932() {
  static const std::string converted = Utf8ToCp932(Utf8);
  return converted;
}

// Fills the directives %s, %.<n>s and %d of format, in order, with values (a %d's value is
// given as its decimal text); %% is a '%'. Values are inserted as they stand and never read
// as directives; a value missing is empty.
std::string FillFormat(std::string_view format, std::initializer_list<std::string_view> values);

}  // namespace korvane
