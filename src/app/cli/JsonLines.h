#pragma once

#include <string>
#include <string_view>

namespace tonvault::cli {

// A JSON string literal for a UTF-8 text: quotes, backslashes and control
// characters escaped; bytes that are not valid UTF-8 become U+FFFD.
std::string JsonString(std::string_view text);

// Builds one JSON object on one line, keys in the order added.
class JsonObject {
 public:
  JsonObject& Add(std::string_view key, std::string_view text);
  // Without this, a string literal would pick the bool overload.
  JsonObject& Add(std::string_view key, const char* text) { return Add(key, std::string_view(text)); }
  JsonObject& Add(std::string_view key, long long number);
  JsonObject& Add(std::string_view key, double number);
  JsonObject& Add(std::string_view key, bool value);
  // A value that is JSON already (an array or object built elsewhere).
  JsonObject& AddJson(std::string_view key, std::string_view json);
  std::string Line() const { return text_ + "}"; }

 private:
  void Key(std::string_view key);
  std::string text_ = "{";
};

}  // namespace tonvault::cli
