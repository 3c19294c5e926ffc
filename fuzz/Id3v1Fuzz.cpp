// The ID3v1 reader over arbitrary bytes, and the encoder over the same bytes
// taken as (possibly broken) UTF-8 field texts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "audio/Id3v1.h"
#include "audio/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault::audio;
  MemoryByteSource source({data, size});
  const Id3v1Tag tag = ReadId3v1Tag(&source);
  if (tag.present && tag.title.size() > 4 * 30) __builtin_trap();

  const std::string text(reinterpret_cast<const char*>(data), size);
  Id3v1Fields fields;
  fields.title = fields.artist = fields.album = fields.comment = fields.year = text;
  fields.genre = size > 0 ? data[0] - 64 : 0;
  fields.track = size > 1 ? data[1] - 64 : 0;
  if (EncodeId3v1Tag(fields).size() != 128) __builtin_trap();
  (void)Utf16ToUtf8({data, size}, size % 2 == 0);
  return 0;
}
