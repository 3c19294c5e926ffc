#include "device/transfer/FreeSpace.h"

#include "audio/Rounding.h"

namespace tonvault::device {

namespace {

constexpr double kMegabyte = 1048576.0;

}  // namespace

std::optional<std::int64_t> RestMegabytes(TransferContext& context, std::int64_t fileSize) {
  std::int64_t totalKb = 0, freeKb = 0;
  Device& device = context.session.CurrentDevice();
  if (device.GetTotalSpace(totalKb) != kOk || device.GetFreeSpace(freeKb) != kOk) return std::nullopt;
  const std::int64_t restMb = audio::RoundHalfEven(static_cast<double>(freeKb * 1024 - fileSize) / kMegabyte);
  context.window.SetFreeSpace(audio::RoundHalfEven(static_cast<double>(totalKb * 1024) / kMegabyte), restMb);
  return restMb;
}

std::int64_t MinimalFreeMegabytes(const TransferContext& context) {
  return context.session.DeviceKind() == 1 ? context.app.options.njb.minFree : 1;
}

}  // namespace tonvault::device
