#include "catalogue/repair/RepairFile.h"

#include "catalogue/RefillRow.h"
#include "files/CopyFile.h"

namespace tonvault::catalogue {

namespace {

constexpr const char* kNotChanged = "\n\r\rThe file was not changed.";

}  // namespace

std::string BackupPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExtension ? path.substr(0, dot) : path) + ".bak";
}

BackupOutcome MakeBackup(const std::string& path) {
  const files::FileStatus error = files::CopyFileExclusive(path, BackupPath(path));
  if (!error) return BackupOutcome::Made;
  return error->failure == files::Failure::AlreadyExists ? BackupOutcome::Exists : BackupOutcome::Failed;
}

audio::RebuildResult RepairFile(Application& app, const audio::Mp3Analysis& analysis,
                                const audio::RebuildRequest& request, ListId list, std::size_t row) {
  audio::RebuildResult result = audio::RebuildMp3(analysis, request);
  if (result.Ok()) RefillRowAndTwin(app, list, row, analysis.path);
  return result;
}

std::string RebuildFailureText(const audio::RebuildResult& result, const std::string& path) {
  const std::string reason = result.error ? "\n\r(" + result.error->Text() + ")" : std::string();
  switch (result.failure) {
    case audio::RebuildFailure::None: return {};
    case audio::RebuildFailure::NotAnalysed: return "No frames to fix in\n\r\r" + path + kNotChanged;
    case audio::RebuildFailure::Changed:
      return "The file changed after it was analyzed:\n\r\r" + path + "\n\r\rPlease analyze it again." + kNotChanged;
    case audio::RebuildFailure::Read: return "Read Error !\n\r\r" + path + reason + kNotChanged;
    case audio::RebuildFailure::Write: return "Cannot create\n\r\r" + path + reason + kNotChanged;
    case audio::RebuildFailure::Check:
      return "The repaired file did not hold the expected frames:\n\r\r" + path + kNotChanged;
  }
  return {};
}

}  // namespace tonvault::catalogue
