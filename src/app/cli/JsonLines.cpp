#include "cli/JsonLines.h"

#include <cstdio>

#include "audio/TextEncoding.h"

namespace tonvault::cli {

namespace {

// Length of the valid UTF-8 sequence at `i`, or 0.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                         : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      out += "\\ufffd";
      ++i;
      continue;
    }
    if (length > 1) {
      out.append(text.substr(i, length));
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
    i += length;
  }
  return out + "\"";
}

void JsonObject::Key(std::string_view key) {
  if (text_.size() > 1) text_ += ", ";
  text_ += JsonString(key) + ": ";
}

JsonObject& JsonObject::Add(std::string_view key, std::string_view text) {
  Key(key);
  text_ += JsonString(text);
  return *this;
}

JsonObject& JsonObject::Add(std::string_view key, long long number) {
  Key(key);
  text_ += std::to_string(number);
  return *this;
}

JsonObject& JsonObject::Add(std::string_view key, double number) {
  Key(key);
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", number);
  text_ += text;
  return *this;
}

JsonObject& JsonObject::Add(std::string_view key, bool value) {
  Key(key);
  text_ += value ? "true" : "false";
  return *this;
}

}  // namespace tonvault::cli
