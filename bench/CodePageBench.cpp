// Single-byte text conversion in the code page of old tags, against copying
// the same bytes (the floor every conversion pays). Fields of 30 bytes, as
// ID3v1 holds them: Latin text in Windows-1252 and Cyrillic in
// Windows-1251, decoded (every import) and encoded (every ID3v1 write).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "audio/TextEncoding.h"

namespace {

using tonvault::audio::CodePage;

constexpr int kFields = 10000;

std::vector<std::string> Fields(std::string_view sample) {
  std::vector<std::string> fields;
  for (int i = 0; i < kFields; ++i) fields.emplace_back(sample);
  return fields;
}

const std::vector<std::string>& LatinBytes() {
  static const auto fields = Fields("Caf\xE9 del Mar - \xC4rger \xFC" "ber \xD6l 12");
  return fields;
}

const std::vector<std::string>& CyrillicBytes() {
  static const auto fields = Fields("\xC3\xF0\xF3\xEF\xEF\xE0 \xEA\xF0\xEE\xE2\xE8 \xCA\xE8\xED\xEE 1988 \xC7\xE2\xE5\xE7\xE4\xE0");
  return fields;
}

void Copy(benchmark::State& state, const std::vector<std::string>& fields) {
  for (auto _ : state) {
    for (const std::string& field : fields) {
      std::string copy(field);
      benchmark::DoNotOptimize(copy.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kFields);
}

void Decode(benchmark::State& state, const std::vector<std::string>& fields, CodePage page) {
  for (auto _ : state) {
    for (const std::string& field : fields) benchmark::DoNotOptimize(tonvault::audio::SingleByteToUtf8(field, page));
  }
  state.SetItemsProcessed(state.iterations() * kFields);
}

void Encode(benchmark::State& state, const std::vector<std::string>& fields, CodePage page) {
  std::vector<std::string> texts;
  for (const std::string& field : fields) texts.push_back(tonvault::audio::SingleByteToUtf8(field, page));
  for (auto _ : state) {
    for (const std::string& text : texts) benchmark::DoNotOptimize(tonvault::audio::Utf8ToSingleByte(text, page));
  }
  state.SetItemsProcessed(state.iterations() * kFields);
}

void BM_Floor_CopyFields(benchmark::State& state) { Copy(state, CyrillicBytes()); }
void BM_DecodeWindows1252(benchmark::State& state) { Decode(state, LatinBytes(), CodePage::Windows1252); }
void BM_DecodeWindows1251(benchmark::State& state) { Decode(state, CyrillicBytes(), CodePage::Windows1251); }
void BM_EncodeWindows1252(benchmark::State& state) { Encode(state, LatinBytes(), CodePage::Windows1252); }
void BM_EncodeWindows1251(benchmark::State& state) { Encode(state, CyrillicBytes(), CodePage::Windows1251); }

BENCHMARK(BM_Floor_CopyFields);
BENCHMARK(BM_DecodeWindows1252);
BENCHMARK(BM_DecodeWindows1251);
BENCHMARK(BM_EncodeWindows1252);
BENCHMARK(BM_EncodeWindows1251);

}  // namespace

BENCHMARK_MAIN();
