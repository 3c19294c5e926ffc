#pragma once

#include <array>

namespace tonvault::catalogue {

// Command groups switched together by the command state.
enum class CommandGroup : int { File, Row, Export, Disk, Tag, TagRam };
inline constexpr int kCommandGroupCount = 6;

// The menus whose enabling follows the command state.
enum class MenuGroup : int { File, Edit, Print, Rename, Extract, Special };
inline constexpr int kMenuGroupCount = 6;

enum class Switch { Unchanged, On, Off };

// Everything the command state decides about the window. Code 0 is the busy
// state of a long operation; codes 1..14 are the idle states of the pages.
struct CommandState {
  int code = 1;
  bool busy = false;  // page control, About/Help/Exit, page buttons off; STOP shown; wait cursor
  std::array<Switch, kCommandGroupCount> groups{};
  std::array<Switch, kMenuGroupCount> menus{};
  bool addToPlaylistEnabled = true;  // within the row group: off for a Nomad II
  Switch helpMenu = Switch::Unchanged;
  // Tool bar panels; Unchanged where the code leaves a panel as it is.
  Switch editPanel = Switch::Unchanged;
  Switch printPanel = Switch::Unchanged;
  Switch id3Panel = Switch::Unchanged;
  Switch tagRamPanel = Switch::Unchanged;
  // Codes 9 and 10 relabel the Special menu for files on disk or player tags.
  Switch specialForPlayerTags = Switch::Unchanged;

  Switch Group(CommandGroup g) const { return groups[static_cast<std::size_t>(g)]; }
  Switch Menu(MenuGroup m) const { return menus[static_cast<std::size_t>(m)]; }
};

inline constexpr int kDeviceNomadII = 2;

// The command state for `code` (0..14). `deviceKind` 2 (Nomad II) turns off
// "Add selected files to playlist" in the row group.
CommandState CommandStateFor(int code, int deviceKind);

// Applies `next` over the switches of `current`: Unchanged keeps the
// current value. Used by the window to know what is enabled now.
struct CommandSwitches {
  std::array<bool, kCommandGroupCount> groups{};
  std::array<bool, kMenuGroupCount> menus{};
  bool helpMenu = true;
  bool editPanel = true, printPanel = true, id3Panel = false, tagRamPanel = false;
  bool addToPlaylistEnabled = true;

  void Apply(const CommandState& state);
  bool Group(CommandGroup g) const { return groups[static_cast<std::size_t>(g)]; }
  bool Menu(MenuGroup m) const { return menus[static_cast<std::size_t>(m)]; }
};

}  // namespace tonvault::catalogue
