#include "catalogue/CommandState.h"

#include <initializer_list>

namespace tonvault::catalogue {

namespace {

Switch OnOff(bool on) { return on ? Switch::On : Switch::Off; }

void SetGroups(CommandState& s, bool file, bool row, bool exportOn, bool disk, bool tag) {
  s.groups = {OnOff(file), OnOff(row), OnOff(exportOn), OnOff(disk), OnOff(tag), Switch::Unchanged};
}

void EnableOnlyMenus(CommandState& s, std::initializer_list<MenuGroup> enabled) {
  s.menus.fill(Switch::Off);
  for (MenuGroup m : enabled) s.menus[static_cast<std::size_t>(m)] = Switch::On;
}

CommandState Busy() {
  CommandState s;
  s.code = 0;
  s.busy = true;
  s.groups.fill(Switch::Off);
  s.menus.fill(Switch::Off);
  s.helpMenu = Switch::Off;
  return s;
}

void SetPanels(CommandState& s, int code) {
  if (code == 9) {
    s.id3Panel = s.tagRamPanel = Switch::On;
    s.editPanel = s.printPanel = Switch::Off;
  } else if (code == 10) {
    s.editPanel = s.printPanel = s.id3Panel = Switch::Off;
    s.tagRamPanel = Switch::On;
  } else {
    s.id3Panel = s.tagRamPanel = Switch::Off;
    s.editPanel = s.printPanel = Switch::On;
  }
}

}  // namespace

CommandState CommandStateFor(int code, int deviceKind) {
  if (code <= 0) return Busy();
  CommandState s;
  s.code = code;
  s.helpMenu = Switch::On;
  SetPanels(s, code);
  switch (code) {
    case 1:
    case 6:
      SetGroups(s, true, true, true, true, false);
      s.addToPlaylistEnabled = deviceKind != kDeviceNomadII;
      EnableOnlyMenus(s, {MenuGroup::File, MenuGroup::Edit, MenuGroup::Print});
      break;
    case 2:
    case 3:
    case 4:
      SetGroups(s, true, false, true, false, false);
      EnableOnlyMenus(s, {MenuGroup::File, MenuGroup::Print});
      break;
    case 9:
      SetGroups(s, false, false, false, false, true);
      s.groups[static_cast<std::size_t>(CommandGroup::TagRam)] = Switch::On;
      EnableOnlyMenus(s, {MenuGroup::Rename, MenuGroup::Extract, MenuGroup::Special});
      s.specialForPlayerTags = Switch::Off;
      break;
    case 10:
      SetGroups(s, false, false, false, false, false);
      s.groups[static_cast<std::size_t>(CommandGroup::TagRam)] = Switch::On;
      EnableOnlyMenus(s, {MenuGroup::Special});
      s.specialForPlayerTags = Switch::On;
      break;
    case 12:
      break;  // the MP3 page leaves every group and menu as it is
    default:  // 5, 7, 8, 11, 13, 14
      SetGroups(s, true, false, false, false, false);
      EnableOnlyMenus(s, {MenuGroup::File});
      break;
  }
  return s;
}

namespace {
void Take(bool& target, Switch value) {
  if (value != Switch::Unchanged) target = value == Switch::On;
}
}  // namespace

void CommandSwitches::Apply(const CommandState& state) {
  for (std::size_t i = 0; i < groups.size(); ++i) Take(groups[i], state.groups[i]);
  for (std::size_t i = 0; i < menus.size(); ++i) Take(menus[i], state.menus[i]);
  Take(helpMenu, state.helpMenu);
  Take(editPanel, state.editPanel);
  Take(printPanel, state.printPanel);
  Take(id3Panel, state.id3Panel);
  Take(tagRamPanel, state.tagRamPanel);
  if (state.Group(CommandGroup::Row) != Switch::Unchanged) addToPlaylistEnabled = state.addToPlaylistEnabled;
}

}  // namespace tonvault::catalogue
