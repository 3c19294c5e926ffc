#pragma once

#include <string>

// The few services that differ between operating systems.
namespace tonvault::catalogue {

enum class Priority { Idle, Normal, High };

// Sets the scheduling priority of this process (nice 19, 0 or -5). Returns
// false when the system refuses, for example raising it without privilege.
bool SetProcessPriority(Priority priority);

// The folder of the running program, ending with the path separator.
std::string ProgramFolder();

// The user's home folder, ending with the path separator.
std::string HomeFolder();

inline constexpr char kPathSeparator = '/';

}  // namespace tonvault::catalogue
