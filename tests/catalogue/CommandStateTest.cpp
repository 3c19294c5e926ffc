#include <gtest/gtest.h>

#include "catalogue/CommandState.h"

namespace tonvault::catalogue {
namespace {

// One line of the expected table: the six groups, then the six menus.
// '1' on, '0' off, '-' unchanged.
struct Expected {
  int code;
  const char* groups;  // file row export disk tag tagRam
  const char* menus;   // File Edit Print Rename Extract Special
};

char Code(Switch s) { return s == Switch::On ? '1' : s == Switch::Off ? '0' : '-'; }

std::string GroupsOf(const CommandState& s) {
  std::string out;
  for (Switch g : s.groups) out += Code(g);
  return out;
}

std::string MenusOf(const CommandState& s) {
  std::string out;
  for (Switch m : s.menus) out += Code(m);
  return out;
}

TEST(CommandState, GroupsAndMenusForEveryCode) {
  const Expected table[] = {
      {0, "000000", "000000"},  {1, "11110-", "111000"},  {2, "10100-", "101000"}, {3, "10100-", "101000"},
      {4, "10100-", "101000"},  {5, "10000-", "100000"},  {6, "11110-", "111000"}, {7, "10000-", "100000"},
      {8, "10000-", "100000"},  {9, "000011", "000111"},  {10, "000001", "000001"}, {11, "10000-", "100000"},
      {12, "------", "------"}, {13, "10000-", "100000"}, {14, "10000-", "100000"},
  };
  for (const Expected& e : table) {
    const CommandState s = CommandStateFor(e.code, 0);
    EXPECT_EQ(GroupsOf(s), e.groups) << "code " << e.code;
    EXPECT_EQ(MenusOf(s), e.menus) << "code " << e.code;
    EXPECT_EQ(s.busy, e.code == 0) << "code " << e.code;
    EXPECT_EQ(s.helpMenu, e.code == 0 ? Switch::Off : Switch::On) << "code " << e.code;
  }
}

TEST(CommandState, ToolBarPanelsFollowTheEditorCodes) {
  const CommandState editor = CommandStateFor(9, 0);
  EXPECT_EQ(editor.id3Panel, Switch::On);
  EXPECT_EQ(editor.tagRamPanel, Switch::On);
  EXPECT_EQ(editor.editPanel, Switch::Off);
  EXPECT_EQ(editor.printPanel, Switch::Off);

  const CommandState playerTags = CommandStateFor(10, 0);
  EXPECT_EQ(playerTags.id3Panel, Switch::Off);
  EXPECT_EQ(playerTags.tagRamPanel, Switch::On);
  EXPECT_EQ(playerTags.editPanel, Switch::Off);

  for (int code : {1, 5, 12, 14}) {
    const CommandState s = CommandStateFor(code, 0);
    EXPECT_EQ(s.id3Panel, Switch::Off) << code;
    EXPECT_EQ(s.tagRamPanel, Switch::Off) << code;
    EXPECT_EQ(s.editPanel, Switch::On) << code;
    EXPECT_EQ(s.printPanel, Switch::On) << code;
  }
  const CommandState busy = CommandStateFor(0, 0);
  EXPECT_EQ(busy.editPanel, Switch::Unchanged) << "the busy state leaves the panels alone";
}

TEST(CommandState, NomadIIDisablesAddToPlaylistOnly) {
  EXPECT_TRUE(CommandStateFor(1, 1).addToPlaylistEnabled);
  EXPECT_FALSE(CommandStateFor(1, 2).addToPlaylistEnabled);
  EXPECT_FALSE(CommandStateFor(6, 2).addToPlaylistEnabled);
  EXPECT_EQ(CommandStateFor(6, 2).Group(CommandGroup::Row), Switch::On);
}

TEST(CommandState, UnchangedSwitchesKeepTheCurrentValue) {
  CommandSwitches now;
  now.Apply(CommandStateFor(9, 0));
  EXPECT_TRUE(now.Group(CommandGroup::TagRam));
  now.Apply(CommandStateFor(1, 0));
  EXPECT_TRUE(now.Group(CommandGroup::TagRam)) << "code 1 leaves tag-RAM as it was";
  EXPECT_TRUE(now.Group(CommandGroup::Row));
  now.Apply(CommandStateFor(0, 0));
  EXPECT_FALSE(now.Group(CommandGroup::TagRam));
  now.Apply(CommandStateFor(12, 0));
  EXPECT_FALSE(now.Group(CommandGroup::File)) << "the MP3 page does not undo the busy groups";
  EXPECT_FALSE(now.Menu(MenuGroup::File));
  EXPECT_TRUE(now.helpMenu);
}

}  // namespace
}  // namespace tonvault::catalogue
