#include "catalogue/AudioHost.h"

#include <string>

#include "catalogue/LongOperation.h"

namespace tonvault::catalogue {

std::string ReadErrorText(const std::string& path) {
  std::string text(audio::kReadError);
  if (!path.empty()) text += "\n\r" + path;
  return text;
}

std::string ReadErrorQuestion(const std::string& path) {
  if (path.empty()) return std::string(audio::kReadErrorContinue);
  return ReadErrorText(path) + std::string(audio::kReadErrorContinue.substr(audio::kReadError.size()));
}

void FrontendScanHost::OpenFailed() {
  if (Ask(app_.frontend, Sound::Exclamation, MessageKind::Error, ReadErrorQuestion(file_),
          {Button::Yes, Button::No}) == Button::No) {
    app_.stopRequest = true;
  }
}

void FrontendScanHost::ReadFailed() {
  Ask(app_.frontend, Sound::Exclamation, MessageKind::Error, ReadErrorText(file_), {Button::Ok});
}

bool FrontendScanHost::StopConfirmed() { return ConfirmStop(app_); }

void FrontendScanHost::PumpEvents() { app_.frontend.PumpEvents(); }

audio::ScanOptions ImportScanOptions(const Mp3Options& options) {
  audio::ScanOptions scan;
  scan.toleratedErrors = options.errorsTolerated;
  scan.fullScan = options.fullScan;
  scan.cbrSeconds = options.cbrSeconds;
  scan.readVbrHeader = options.readVbrHeader;
  return scan;
}

}  // namespace tonvault::catalogue
