#include "device/transfer/TransferRun.h"

#include <numeric>

namespace tonvault::device {

namespace {

constexpr int kFinishBeeps = 5;
constexpr int kFinishBeepPause = 1000;

}  // namespace

TransferRun::TransferRun(TransferContext& context, std::vector<TransferRow> rows, std::vector<std::int64_t> rowKb)
    : context_(context), rows_(std::move(rows)), rowKb_(std::move(rowKb)) {
  rowKb_.resize(rows_.size(), 0);
  counters_.total = rows_.size();
  counters_.totalKb = std::accumulate(rowKb_.begin(), rowKb_.end(), std::int64_t{0});
}

TransferRun::~TransferRun() {
  try {
    context_.session.SetDeviceReady(context_.session.StopDevice(false, false));
  } catch (...) {
  }
}

bool TransferRun::Begin() {
  context_.window.Open(rows_, context_.session.DeviceKind() == 2);
  context_.window.SetCounters(counters_);
  operation_.emplace(context_.app, catalogue::LongOperation::Pacing{});
  ready_ = context_.session.StartDevice(true);
  context_.session.SetDeviceReady(ready_);
  // The kind is known only now.
  if (ready_ && context_.session.DeviceKind() == 2) context_.window.Open(rows_, true);
  catalogue::StartProgress(context_.app);
  return ready_;
}

void TransferRun::SetState(std::size_t row, const std::string& state, TransferIcon icon) {
  rows_[row].state = state;
  rows_[row].icon = icon;
  context_.window.SetState(row, state, icon);
}

bool TransferRun::RowDone(std::size_t row) {
  catalogue::Application& app = context_.app;
  ++counters_.done;
  const int position =
      counters_.totalKb <= 0 ? 0 : static_cast<int>(counters_.doneKb * catalogue::kProgressMaximum / counters_.totalKb);
  app.frontend.SetProgress(0, position);
  catalogue::ShowTimeEstimate(app, counters_.total, counters_.done);
  context_.window.SetCounters(counters_);
  app.frontend.PumpEvents();
  if (catalogue::ConfirmStop(app)) {
    for (std::size_t rest = row + 1; rest < rows_.size(); ++rest) SetState(rest, "Canceled", TransferIcon::None);
    return false;
  }
  context_.window.ShowAgain();
  return true;
}

void TransferRun::Finish() {
  catalogue::Application& app = context_.app;
  app.frontend.SetProgress(0, 0);
  const AfterTransfer after = context_.window.AfterTransferChoice();
  if (ready_ && after.beep) {
    for (int beep = 0; beep < kFinishBeeps; ++beep) {
      if (beep > 0) app.frontend.Sleep(kFinishBeepPause);
      app.frontend.Beep(catalogue::Sound::Default);
    }
  }
  context_.session.SetDeviceReady(context_.session.StopDevice(after.stopNjb, after.switchOff));
  context_.window.Finish(true);
}

}  // namespace tonvault::device
