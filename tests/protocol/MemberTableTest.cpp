#include "protocol/MemberTable.h"

#include <gtest/gtest.h>

#include <cstring>

#include "protocol/ProbeTable.h"

namespace korvane {
namespace {

class EventLog : public MemberListView {
 public:
  void MemberAdded(const MemberRow& member, int count) override {
    events.push_back("add " + member.handle + " " + std::string(TextOf(member.address)) + " #" +
                     std::to_string(count));
  }
  void MemberRemoved(const MemberRow& member, int count) override {
    events.push_back("remove " + member.handle + " " + std::string(TextOf(member.address)) + " #" +
                     std::to_string(count));
  }
  void MembersCleared() override { events.push_back("clear"); }
  std::vector<std::string> events;
};

TEST(MemberTable, TellsTheDisplayEveryChangeInOrder) {
  std::recursive_mutex mutex;
  EventLog view;
  MemberTable table(mutex, view);
  table.AddMember("alice", MakeFixedText<16>("10.0.0.1"));
  table.AddMember("bob", MakeFixedText<16>("10.0.0.2"));
  table.AddMember("carol", MakeFixedText<16>("10.0.0.3"));
  table.RemoveMember(1);
  table.RemoveMember(5);   // no such row: nothing happens
  table.RemoveMember(-1);
  EXPECT_EQ(table.FindMemberByHandle("carol"), 1);
  EXPECT_EQ(table.FindMemberByAddress(MakeFixedText<16>("10.0.0.2")), -1);
  EXPECT_EQ(table.RemoveMemberByAddress(MakeFixedText<16>("10.0.0.1")), "alice");
  EXPECT_EQ(table.RemoveMemberByAddress(MakeFixedText<16>("10.0.0.1")), std::nullopt);
  table.Clear();
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(view.events, (std::vector<std::string>{"add alice 10.0.0.1 #1", "add bob 10.0.0.2 #2",
                                                   "add carol 10.0.0.3 #3", "remove bob 10.0.0.2 #2",
                                                   "remove alice 10.0.0.1 #1", "clear"}));
}

TEST(MemberTable, KeepsAddressesAsCleanText) {
  std::recursive_mutex mutex;
  EventLog view;
  MemberTable table(mutex, view);
  AddressText received{};
  std::memcpy(received.data(), "10.0.0.7\0garbage", 16);
  table.AddMember("dave", received);
  EXPECT_EQ(table.Rows()[0].address, MakeFixedText<16>("10.0.0.7"));
  EXPECT_EQ(table.FindMemberByAddress(received), 0);  // whole-string compare

  // A field without a terminator keeps its 16 characters and still finds its row.
  AddressText unterminated;
  std::memcpy(unterminated.data(), "1234567890123456", 16);
  table.AddMember("eve", unterminated);
  EXPECT_EQ(table.FindMemberByAddress(unterminated), 1);
  ProbeTable probes;
  probes.Snapshot({table.Rows()[1].address});
  probes.MarkAlive(unterminated);
  EXPECT_TRUE(probes.Silent().empty());
}

TEST(ProbeTable, MarksOnlyExactAddressesAndListsTheSilentInOrder) {
  ProbeTable probes;
  probes.Snapshot({MakeFixedText<16>("10.0.0.1"), MakeFixedText<16>("10.0.0.12"),
                   MakeFixedText<16>("10.0.0.2"), MakeFixedText<16>("10.0.0.1")});
  AddressText withGarbage = MakeFixedText<16>("10.0.0.2");
  withGarbage[15] = 'x';
  probes.MarkAlive(withGarbage);  // not all 16 bytes equal
  probes.MarkAlive(MakeFixedText<16>("10.0.0.1"));  // marks both entries of it
  EXPECT_EQ(probes.Silent(), (std::vector<AddressText>{MakeFixedText<16>("10.0.0.12"), MakeFixedText<16>("10.0.0.2")}));
  probes.Snapshot({});
  EXPECT_EQ(probes.Count(), 0);
}

}  // namespace
}  // namespace korvane
