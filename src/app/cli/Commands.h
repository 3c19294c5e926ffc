#pragma once

#include <string>
#include <vector>

namespace tonvault::cli {

using Arguments = std::vector<std::string>;

// Each returns the process exit code: 0 done, 1 a file failed, 2 wrong usage.
int ProbeCommand(const Arguments& arguments);
int ImportCommand(const Arguments& arguments);
int CatCommand(const Arguments& arguments);
int SearchCommand(const Arguments& arguments);
int ViewCommand(const Arguments& arguments);
int TagCommand(const Arguments& arguments);
int StatsCommand(const Arguments& arguments);
int ExportCommand(const Arguments& arguments);
int DupesCommand(const Arguments& arguments);
int DiffCommand(const Arguments& arguments);
int PlayerCommand(const Arguments& arguments);
int RenameCommand(const Arguments& arguments);
int ExtractCommand(const Arguments& arguments);
int TransformCommand(const Arguments& arguments);
int AnalyzeCommand(const Arguments& arguments);
int RepairCommand(const Arguments& arguments);

}  // namespace tonvault::cli
