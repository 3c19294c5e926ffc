#include "audio/CodePages.h"

#include <algorithm>
#include <atomic>

#include "audio/CodePageTables.h"

namespace tonvault::audio {

namespace {

constexpr std::array<std::string_view, kCodePageCount> kNames = {
    "Windows-1250", "Windows-1251", "Windows-1252", "Windows-1253", "Windows-1254", "Windows-1257",
    "ISO-8859-1",   "ISO-8859-2",   "ISO-8859-5",   "ISO-8859-15",  "KOI8-R"};

constexpr std::array<CodePage, kCodePageCount> kPages = {
    CodePage::Windows1250, CodePage::Windows1251, CodePage::Windows1252, CodePage::Windows1253,
    CodePage::Windows1254, CodePage::Windows1257, CodePage::Iso8859_1,   CodePage::Iso8859_2,
    CodePage::Iso8859_5,   CodePage::Iso8859_15,  CodePage::Koi8R};

std::atomic<CodePage> legacyCodePage{kDefaultCodePage};

std::size_t IndexOf(CodePage page) { return static_cast<std::size_t>(page); }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The upper half of a code page sorted by code point, for encoding.
struct ByteOf {
  char32_t codePoint;
  unsigned char byte;
};
using ReverseTable = std::array<ByteOf, 128>;

const ReverseTable& ReverseOf(CodePage page) {
  static const auto tables = [] {
    std::array<ReverseTable, kCodePageCount> all{};
    for (CodePage each : kPages) {
      ReverseTable& table = all[IndexOf(each)];
      for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        table[byte - 0x80] = {CodePageCharacter(each, static_cast<unsigned char>(byte)), static_cast<unsigned char>(byte)};
      }
      std::sort(table.begin(), table.end(), [](ByteOf a, ByteOf b) { return a.codePoint < b.codePoint; });
    }
    return all;
  }();
  return tables[IndexOf(page)];
}

}  // namespace

const std::array<CodePage, kCodePageCount>& CodePages() { return kPages; }

std::string_view CodePageName(CodePage page) { return kNames[IndexOf(page)]; }

std::optional<CodePage> CodePageFromName(std::string_view name) {
  for (CodePage page : kPages) {
    if (SameIgnoringCase(name, CodePageName(page))) return page;
  }
  return std::nullopt;
}

char32_t CodePageCharacter(CodePage page, unsigned char byte) {
  if (byte < 0x80) return byte;
  const char16_t mapped = kHighHalves[IndexOf(page)][byte - 0x80];
  if (mapped != 0) return mapped;
  return byte < 0xA0 ? char32_t{byte} : char32_t{0xFFFD};
}

std::optional<unsigned char> CodePageByte(CodePage page, char32_t codePoint) {
  if (codePoint < 0x80) return static_cast<unsigned char>(codePoint);
  if (codePoint == 0xFFFD) return std::nullopt;  // stands for every undefined byte
  const ReverseTable& table = ReverseOf(page);
  const auto at = std::lower_bound(table.begin(), table.end(), codePoint,
                                   [](ByteOf entry, char32_t wanted) { return entry.codePoint < wanted; });
  if (at == table.end() || at->codePoint != codePoint) return std::nullopt;
  return at->byte;
}

void SetLegacyCodePage(CodePage page) { legacyCodePage.store(page, std::memory_order_relaxed); }

CodePage LegacyCodePage() { return legacyCodePage.load(std::memory_order_relaxed); }

}  // namespace tonvault::audio
