#include "ui/CommandTable.h"

#include <array>
#include <stdexcept>

namespace tonvault::ui {

namespace {

using G = CommandGroup;
using P = ToolPanel;
constexpr std::optional<CommandGroup> kNoGroup = std::nullopt;

constexpr std::array kCommands = {
    CommandInfo{CommandId::OpenDatabase, "&Open database", "Open database file", P::File, G::File, "Ctrl+O", true},
    CommandInfo{CommandId::OpenDatabaseSelective, "Open &database (only items from Search)", "", P::None, G::File, "", true},
    CommandInfo{CommandId::SaveDatabase, "&Save database", "Save database", P::File, G::File, "Ctrl+S", true},
    CommandInfo{CommandId::SaveDatabaseAs, "Save database &as", "Save database as different file", P::File, G::File, "", true},
    CommandInfo{CommandId::Import, "&Import audio files", "Import audio files", P::File, G::File, "", true},
    CommandInfo{CommandId::ImportWithSubfolders, "Import audio files  (including s&ubfolders)",
                "Import audio files (with subfolders)", P::File, G::File, "", true},
    CommandInfo{CommandId::ReadNjb, "&Read Files on NJB", "Read content of Nomad Jukebox", P::Player, G::File, "", true},
    CommandInfo{CommandId::Exit, "E&xit", "", P::None, kNoGroup, "", true},

    CommandInfo{CommandId::SelectAll, "Select all", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::SelectNone, "Select none", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::InvertSelection, "Invert selection", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::CopyLinesToResults, "Copy selected lines to RESULTS", "Copy selected lines to RESULTS",
                P::Edit, kNoGroup, "", true},
    CommandInfo{CommandId::DeleteLines, "Delete selected lines", "Delete selected lines", P::Edit, G::Row, "", true},
    CommandInfo{CommandId::PlayFiles, "Play selected files", "Play selected files", P::Edit, G::Row, "", true},
    CommandInfo{CommandId::CopyFilesToFolder, "Copy selected files to folder", "Copy selected files to folder",
                P::Edit, G::Disk, "", true},
    CommandInfo{CommandId::CopyFilesToFolderWithSubfolder, "Copy selected files to folder (with subfolder)",
                "Copy selected files to folder (including last subfolder)", P::Edit, G::Disk, "", true},
    CommandInfo{CommandId::MoveFilesToFolder, "Move selected files to folder", "Move selected files to folder",
                P::Edit, G::Disk, "", true},
    CommandInfo{CommandId::MoveFilesToFolderWithSubfolder, "Move selected files to folder (with subfolder)",
                "Move selected files to folder (including last subfolder)", P::Edit, G::Disk, "", true},
    CommandInfo{CommandId::DeleteFilesFromDisk, "Delete selected files from harddisk",
                "Delete selected files from harddisk", P::Edit, G::Disk, "", true},
    CommandInfo{CommandId::SelectionToRam, "Copy  T&ags  =>  &RAM", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::AnalyzeAllMp3, "Analyze all &MP3s  (in FILES)", "Analyze all MP3s  (in FILES)", P::Edit,
                G::Row, "", true},

    CommandInfo{CommandId::DeleteOnNjb, "Delete selected files on &NJB", "Delete selected files on NJB", P::Player,
                G::Row, "", true},
    CommandInfo{CommandId::CopyToNjb, "&Copy selected files from PC to NJB", "Copy selected files from PC to NJB",
                P::Player, G::Row, "", true},
    CommandInfo{CommandId::CopyFromNjb, "&Copy selected files from N&JB to PC", "Copy selected files from NJB to PC",
                P::Player, G::Row, "", true},
    CommandInfo{CommandId::AddToPlaylist, "&Add selected files to a playlist", "Adds selected files to a NJB playlist",
                P::Player, G::Row, "", true},
    CommandInfo{CommandId::UpdateTagsOnNjb, "&Update Tags on NJB", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::RebuildAudioCache, "&Rebuild audio cache", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::FormatNomadII, "&Format Nomad II", "", P::None, kNoGroup, "", false},
    CommandInfo{CommandId::NomadInternalMemory, "Internal", "Nomad II Internal Memory", P::NomadII, kNoGroup, "", true},
    CommandInfo{CommandId::NomadExternalMemory, "External", "Nomad II External Memory", P::NomadII, kNoGroup, "", true},
    CommandInfo{CommandId::StopNjbNow, "Stop &NJB now", "Stop NJB", P::Jukebox, kNoGroup, "", true},
    CommandInfo{CommandId::SwitchOffNjb, "Switch off NJ&B", "Switch Off NJB", P::Jukebox, kNoGroup, "", true},

    CommandInfo{CommandId::SaveAsTxt, "Save as &TXT-file", "Save list as TXT-file", P::Print, G::Export, "", true},
    CommandInfo{CommandId::SaveAsHtml, "Save as &HTML-file", "Save list as HTML-file", P::Print, G::Export, "", true},

    CommandInfo{CommandId::RenameOne, "&Rename single file", "Rename 1 track", P::Id3, G::Tag, "", true},
    CommandInfo{CommandId::RenameAll, "Rename &all files", "Rename all selected tracks", P::Id3, G::Tag, "", true},
    CommandInfo{CommandId::ExtractOne, "&Extract filename to ID3  (single file)",
                "Extract filename of 1 track to ID3-Tags", P::Id3, G::Tag, "", true},
    CommandInfo{CommandId::ExtractAll, "Extract &filenames to ID3  (all files)",
                "Extract filenames of all selected files to ID3-Tags", P::Id3, G::Tag, "", true},

    CommandInfo{CommandId::JoinTitleArtist, "Copy  &Title + Artist  =>  Title   (NJB or V2)",
                "Copy  Title + Artist  =>  Title   (NJB or V2)", P::TagRam, G::TagRam, "", true},
    CommandInfo{CommandId::SplitTitle, "&Split  Title  =>  Title + Artist   (NJB or V2)",
                "Split  Title  =>  Title + Artist   (NJB or V2)", P::TagRam, G::TagRam, "", true},
    CommandInfo{CommandId::TagsToRam, "Copy  T&ags  =>  RAM", "Copy  Tags  =>  RAM", P::TagRam, G::TagRam, "", true},
    CommandInfo{CommandId::RamToTags, "Copy  RA&M  =>  Tags   (NJB or V2)", "Copy  RAM  =>  Tags   (NJB or V2)",
                P::TagRam, G::TagRam, "", true},

    CommandInfo{CommandId::PriorityIdle, "&Idle", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::PriorityNormal, "&Normal", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::PriorityHigh, "&High", "", P::None, kNoGroup, "", true},

    CommandInfo{CommandId::Help, "&Help", "", P::None, kNoGroup, "F1", true},
    CommandInfo{CommandId::WhatsNew230, "&What's new in version 2.30", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::WhatsNew231, "What's &new in version 2.31", "", P::None, kNoGroup, "", true},
    CommandInfo{CommandId::About, "&About", "", P::None, kNoGroup, "", true},

    CommandInfo{CommandId::Stop, "&STOP", "", P::None, kNoGroup, "Esc", true},
};

}  // namespace

std::span<const CommandInfo> AllCommands() { return kCommands; }

const CommandInfo& Command(CommandId id) {
  for (const CommandInfo& info : kCommands) {
    if (info.id == id) return info;
  }
  throw std::out_of_range("unknown command");
}

}  // namespace tonvault::ui
