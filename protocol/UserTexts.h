#pragma once
// The Japanese texts the protocol side puts in front of the user, in code page 932. Handles
// from packets are inserted as data, never used as a format.

#include <string>
#include <string_view>

namespace korvane {

// Caption above the member list: at rest, and while a liveness check waits for answers.
const std::string& ConnectedMembersCaption();
const std::string& UpdatingMembersCaption();

enum class MemberEvent {
  LoggedIn,     // a new member announced itself
  IsLoggedIn,   // a member answered and was not yet known
  LoggedOut,    // a member announced its departure
  MayHaveLeft,  // a member did not answer a liveness check
};

// "*** <<handle>> ... ***"
std::string MemberNotice(MemberEvent event, std::string_view handle);

// The two-line message of a handle that is already in use.
std::string HandleInUseMessage(std::string_view ownHandle);

}  // namespace korvane
