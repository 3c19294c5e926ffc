#include "catalogue/LongOperation.h"

#include "catalogue/PageChange.h"

namespace tonvault::catalogue {

LongOperation::LongOperation(Application& app, Pacing pacing)
    : app_(app), pacing_(std::move(pacing)), endPage_(app.currentPage) {
  if (pacing_.every == 0) pacing_.every = 1;
  if (pacing_.pumpEvery == 0) pacing_.pumpEvery = pacing_.every;
  StartProgress(app_);
  app_.stopRequest = false;
  SetCommandState(app_, 0);
  app_.frontend.SetProgress(0, 0);
  app_.frontend.PumpEvents();
}

LongOperation::~LongOperation() {
  // The clean-up must not throw out of a destructor, least of all while an
  // exception from the loop is already on its way.
  try {
    app_.frontend.SetProgress(0, 0);
    if (clearEstimate_) app_.frontend.SetStatusPanel(1, "");
    ChangePage(app_, endPage_);
  } catch (...) {
  }
}

bool LongOperation::ItemDone(std::size_t done, std::size_t total) {
  const auto position = total == 0 ? 0 : static_cast<int>(done * kProgressMaximum / total);
  app_.frontend.SetProgress(0, position);
  if (done % pacing_.every == 0) ShowTimeEstimate(app_, total, done);
  if (done % pacing_.pumpEvery == 0) {
    if (pacing_.statusText) app_.frontend.SetStatusPanel(0, pacing_.statusText(done));
    app_.frontend.PumpEvents();
  }
  return !ConfirmStop(app_);
}

bool ConfirmStop(Application& app) {
  if (!app.stopRequest) return false;
  if (Ask(app.frontend, Sound::Question, MessageKind::Confirmation, kStopQuestion, {Button::Yes, Button::No}) ==
      Button::No) {
    app.stopRequest = false;
  }
  return app.stopRequest;
}

}  // namespace tonvault::catalogue
