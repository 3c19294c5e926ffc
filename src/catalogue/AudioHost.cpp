#include "catalogue/AudioHost.h"

#include <string>

#include "catalogue/LongOperation.h"

namespace tonvault::catalogue {

void FrontendScanHost::OpenFailed() {
  if (Ask(app_.frontend, Sound::Exclamation, MessageKind::Error, std::string(audio::kReadErrorContinue),
          {Button::Yes, Button::No}) == Button::No) {
    app_.stopRequest = true;
  }
}

void FrontendScanHost::ReadFailed() {
  Ask(app_.frontend, Sound::Exclamation, MessageKind::Error, std::string(audio::kReadError), {Button::Ok});
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
