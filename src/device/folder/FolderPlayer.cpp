#include "device/folder/FolderPlayer.h"

#include <filesystem>

#include "catalogue/Version.h"

namespace tonvault::device {

FolderPlayer::FolderPlayer(std::string root) : root_(std::move(root)), device_(Events(), *this) {}

int FolderPlayer::CountDevices(int kind) {
  std::error_code error;
  return kind == kKindJukebox && std::filesystem::is_directory(root_, error) ? 1 : 0;
}

Status FolderPlayer::SelectDevice(int& /*selection*/) { return kOk; }

DeviceInfo FolderPlayer::GetVersionInfo() {
  DeviceInfo info;
  info.backend = "folder player";
  info.version = catalogue::ProgramVersionText();
  info.name = root_;
  info.kind = kKindJukebox;
  return info;
}

Status FolderPlayer::FolderDevice::OpenStores() {
  store_ = std::make_unique<PlayerStore>(owner_.Root());
  return store_->Open();
}

}  // namespace tonvault::device
