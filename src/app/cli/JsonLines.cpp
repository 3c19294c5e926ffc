#include "cli/JsonLines.h"

#include <cstdio>

#include "audio/TextEncoding.h"

namespace tonvault::cli {


std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const std::size_t length = audio::Utf8SequenceLength(text, i);
    if (length == 0) {
      // A byte that is not UTF-8 (file names are bytes) as a lone low
      // surrogate U+DC80..U+DCFF, the convention of Python's
      // "surrogateescape": the exact name can be rebuilt from the text.
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\udc%02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
      out += escaped;
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

JsonObject& JsonObject::AddJson(std::string_view key, std::string_view json) {
  Key(key);
  text_ += json;
  return *this;
}

JsonObject& JsonObject::Add(std::string_view key, bool value) {
  Key(key);
  text_ += value ? "true" : "false";
  return *this;
}

}  // namespace tonvault::cli
