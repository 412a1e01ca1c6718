#include "protocol/UserTexts.h"

#include "platform/CodePage.h"

namespace korvane {

const std::string& ConnectedMembersCaption() {
  static const std::string text = Utf8ToCp932("接続中のメンバ");
  return text;
}

const std::string& UpdatingMembersCaption() {
  static const std::string text = Utf8ToCp932("メンバリスト更新中・・・");
  return text;
}

std::string MemberNotice(MemberEvent event, std::string_view handle) {
  static const std::string kLoggedIn = Utf8ToCp932(">> がログインしました ***");
  static const std::string kIsLoggedIn = Utf8ToCp932(">> がログインしています ***");
  static const std::string kLoggedOut = Utf8ToCp932(">> がログアウトしました ***");
  static const std::string kMayHaveLeft = Utf8ToCp932(">> はログアウトしたかもしれません ***");
  const std::string* tail = &kLoggedIn;
  switch (event) {
    case MemberEvent::LoggedIn: tail = &kLoggedIn; break;
    case MemberEvent::IsLoggedIn: tail = &kIsLoggedIn; break;
    case MemberEvent::LoggedOut: tail = &kLoggedOut; break;
    case MemberEvent::MayHaveLeft: tail = &kMayHaveLeft; break;
  }
  return "*** <<" + std::string(handle) + *tail;
}

std::string HandleInUseMessage(std::string_view ownHandle) {
  static const std::string kInUse = Utf8ToCp932(">> はすでに使用されているハンドル名です。\n");
  static const std::string kPickAnother = Utf8ToCp932("別のハンドル名でログインして下さい。");
  return "<<" + std::string(ownHandle) + kInUse + kPickAnother;
}

}  // namespace korvane
