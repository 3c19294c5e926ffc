#include "device/transfer/ModifyCopyResistant.h"

#include <unistd.h>

#include <array>
#include <filesystem>
#include <vector>

#include "files/OpenFile.h"
#include "files/ReplaceFile.h"

namespace tonvault::device {

namespace {

constexpr std::int64_t kTagSize = 128;
constexpr std::size_t kBlock = 1 << 16;
constexpr std::array<char, 8> kPadding = {0, 1, 2, 3, 4, 5, 6, 7};

bool ReadFully(int descriptor, char* data, std::size_t size, std::int64_t offset) {
  while (size > 0) {
    const ssize_t got = ::pread(descriptor, data, size, offset);
    if (got <= 0) return false;
    data += got, size -= static_cast<std::size_t>(got), offset += got;
  }
  return true;
}

// Copies the audio, then the padding, then the tag (when there is one).
bool ProduceModified(int descriptor, std::int64_t size, const files::ContentWriter& write) {
  std::array<char, kTagSize> tag{};
  const bool hasTag = size >= kTagSize && ReadFully(descriptor, tag.data(), tag.size(), size - kTagSize) &&
                      tag[0] == 'T' && tag[1] == 'A' && tag[2] == 'G';
  const std::int64_t audioEnd = hasTag ? size - kTagSize : size;
  std::vector<char> block(kBlock);
  for (std::int64_t at = 0; at < audioEnd;) {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(kBlock, audioEnd - at));
    if (!ReadFully(descriptor, block.data(), count, at) || !write(block.data(), count)) return false;
    at += static_cast<std::int64_t>(count);
  }
  if (!write(kPadding.data(), kPadding.size())) return false;
  return !hasTag || write(tag.data(), tag.size());
}

}  // namespace

std::string CannotWriteFileMessage(const std::string& path) {
  return "Cannot write file\n\r" + path + "  !\n\r\r(Write protected ?)";
}

std::int64_t ModifyCopyResistant(const std::string& path, catalogue::Frontend& frontend) {
  files::OpenedFile source;
  files::FileStatus status = files::OpenForReading(path, source);
  if (!status) {
    const std::int64_t size = static_cast<std::int64_t>(source.info.st_size);
    status = files::ReplaceFile(path, [&](const files::ContentWriter& write) {
      return ProduceModified(source.descriptor.Get(), size, write);
    });
  }
  std::error_code error;
  const auto newSize = status ? 0 : std::filesystem::file_size(path, error);
  if (status || error || newSize == 0) {
    catalogue::Ask(frontend, catalogue::Sound::Exclamation, catalogue::MessageKind::Error, CannotWriteFileMessage(path),
                   {catalogue::Button::Ok});
    return 0;
  }
  return static_cast<std::int64_t>(newSize);
}

}  // namespace tonvault::device
