#pragma once

#include <memory>
#include <string>

#include "device/DeviceLibrary.h"
#include "device/folder/StoreDevice.h"

namespace tonvault::device {

// A player that is a folder: a player or memory card mounted as USB mass
// storage, a phone through a FUSE mount. It answers as a Jukebox (kind 8)
// with one memory.
class FolderPlayer : public DeviceLibrary {
 public:
  explicit FolderPlayer(std::string root);

  int CountDevices(int kind) override;
  Status SelectDevice(int& selection) override;
  Device& GetDevice() override { return device_; }
  DeviceInfo GetVersionInfo() override;

  const std::string& Root() const { return root_; }

 private:
  class FolderDevice : public StoreDevice {
   public:
    FolderDevice(EventQueue& events, FolderPlayer& owner) : StoreDevice(events, kKindJukebox), owner_(owner) {}

   protected:
    PlayerStore* Store() override { return store_.get(); }
    Status OpenStores() override;
    void CloseStores() override { store_.reset(); }
    DeviceInfo Describe() override { return owner_.GetVersionInfo(); }

   private:
    FolderPlayer& owner_;
    std::unique_ptr<PlayerStore> store_;
  };

  std::string root_;
  FolderDevice device_;
};

}  // namespace tonvault::device
