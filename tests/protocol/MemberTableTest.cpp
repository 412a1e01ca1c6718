#include "protocol/MemberTable.h"

#include <gtest/gtest.h>

#include <cstring>

namespace korvane {
namespace {

class EventLog : public MemberListView {
 public:
  void MemberAdded(const MemberRow& member, int count) override { Note("add", member, count); }
  void MemberRemoved(const MemberRow& member, int count) override { Note("remove", member, count); }
  void MembersCleared() override { events.push_back("clear"); }
  void Note(const char* what, const MemberRow& member, int count) {
    events.push_back(std::string(what) + " " + member.handle + " " + std::string(TextOf(member.address)) + " #" +
                     std::to_string(count));
  }
  std::vector<std::string> events;
};

TEST(MemberTable, TellsTheDisplayEveryChangeInOrderAndKeepsAddressesClean) {
  std::recursive_mutex mutex;
  EventLog view;
  MemberTable table(mutex, view);
  AddressText received{};
  std::memcpy(received.data(), "10.0.0.1\0garbage", 16);
  table.AddMember("alice", received);
  table.AddMember("bob", MakeFixedText<16>("10.0.0.2"));
  table.AddMember("carol", MakeFixedText<16>("10.0.0.3"));
  table.RemoveMember(1);
  table.RemoveMember(5);  // no such row: nothing happens
  table.RemoveMember(-1);
  EXPECT_EQ(table.Rows()[0].address, MakeFixedText<16>("10.0.0.1"));
  EXPECT_EQ(table.RemoveMemberByAddress(MakeFixedText<16>("10.0.0.1")), "alice");
  EXPECT_EQ(table.RemoveMemberByAddress(MakeFixedText<16>("10.0.0.1")), std::nullopt);
  table.Clear();
  EXPECT_EQ(view.events, (std::vector<std::string>{"add alice 10.0.0.1 #1", "add bob 10.0.0.2 #2",
                                                   "add carol 10.0.0.3 #3", "remove bob 10.0.0.2 #2",
                                                   "remove alice 10.0.0.1 #1", "clear"}));
}

}  // namespace
}  // namespace korvane
