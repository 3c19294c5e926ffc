#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/Application.h"
#include "device/quickcopy/QuickCopyFile.h"
#include "device/quickcopy/QuickCopyRows.h"

namespace tonvault::device {

// The size of a file in bytes, 0 when it cannot be read.
std::int64_t FileBytes(const std::string& path);

// The import's status icon of a file read for the page: the tags an MPEG
// file has (or corrupt), WMA or WAV.
int PcFileIcon(const QuickCopyFile& file);

// The row of a file read for the page.
QuickRow PcFileRow(const std::string& name, const QuickCopyFile& file);

// The names of the subfolders and of the files of `folder`, each sorted;
// hidden ones (a leading dot) are left out.
void ListFolder(const std::string& folder, std::vector<std::string>& subfolders, std::vector<std::string>& names);

// The rows of `folder`: its subfolders, then in Audio mode every file of
// an enabled type that could be read, in Data mode every data file. Reading
// reports progress and honours a stop every 10 files through `done`, which
// returns false when the user stopped.
std::vector<QuickRow> ListPcRows(catalogue::Application& app, const std::string& folder, bool audio,
                                 const std::function<bool(std::size_t done, std::size_t total)>& done);

// Every file below the selected paths that fits the mode, sorted: a folder
// gives the files of all its subfolders, a file itself.
std::vector<std::string> GatherFiles(const std::vector<std::string>& selected, bool audio,
                                     const catalogue::ImportOptions& types);

}  // namespace tonvault::device
