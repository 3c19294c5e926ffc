#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "catalogue/CommandState.h"

namespace tonvault::ui {

using catalogue::CommandGroup;

// Every menu entry and tool button of the main window.
enum class CommandId {
  OpenDatabase, OpenDatabaseSelective, SaveDatabase, SaveDatabaseAs, Import, ImportWithSubfolders, ReadNjb, Exit,
  SelectAll, SelectNone, InvertSelection, CopyLinesToResults, DeleteLines, PlayFiles,
  CopyFilesToFolder, CopyFilesToFolderWithSubfolder, MoveFilesToFolder, MoveFilesToFolderWithSubfolder,
  DeleteFilesFromDisk, SelectionToRam, AnalyzeAllMp3,
  DeleteOnNjb, CopyToNjb, CopyFromNjb, AddToPlaylist, UpdateTagsOnNjb, RebuildAudioCache, FormatNomadII,
  NomadInternalMemory, NomadExternalMemory, StopNjbNow, SwitchOffNjb,
  SaveAsTxt, SaveAsHtml,
  RenameOne, RenameAll, ExtractOne, ExtractAll,
  JoinTitleArtist, SplitTitle, TagsToRam, RamToTags,
  PriorityIdle, PriorityNormal, PriorityHigh,
  Help, WhatsNew230, WhatsNew231, About,
  Stop,
};

// Which tool bar panel holds a command's button.
enum class ToolPanel { None, File, Edit, Print, Id3, TagRam, Player, NomadII, Jukebox };

struct CommandInfo {
  CommandId id;
  std::string_view caption;  // menu caption, "&" marks the accelerator
  std::string_view hint;     // tool button hint; empty: no tool button
  ToolPanel panel;
  std::optional<CommandGroup> group;  // switched by the command state
  std::string_view shortcut;
  bool available;  // false until the command is built; shown disabled
};

std::span<const CommandInfo> AllCommands();
const CommandInfo& Command(CommandId id);

}  // namespace tonvault::ui
