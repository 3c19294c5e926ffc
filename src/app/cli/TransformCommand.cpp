#include <algorithm>
#include <functional>
#include <iostream>
#include <optional>

#include "cli/Commands.h"
#include "cli/FileNameSession.h"
#include "tagging/transform/FieldTransforms.h"

namespace tonvault::cli {

namespace {

constexpr const char* kUsage =
    "Usage: tonvault-cli transform FILE... [--field F] (--replace A B | --lower | --upper | --first |\n"
    "                             --words | --join | --split) [--separator S] [--dry-run]\n"
    "Changes one tag field of each file as the Special menu of the ID3 editor does.\n"
    "--field: v1:title, v1:artist, v1:album, v1:comment, v2:title, v2:artist,\n"
    "v2:album, v2:comment or v2:genre (default v2:title). --replace A B: every A by\n"
    "B (B may be \"\" and must not contain A; at most 100 replacements, the result\n"
    "trimmed). --lower / --upper: letters A-Z only; --first: the first character\n"
    "upper case, the rest lower; --words: every word capitalised, one blank between\n"
    "words. --join: V2 title = title + separator (default \" - \") + artist, artist\n"
    "emptied. --split: V2 title cut at the first separator (default \"-\") into title\n"
    "and artist. A file is written only when its value changes. Prints a JSON line\n"
    "per file with the old and new value; --dry-run writes nothing.\n";

int Usage(const std::string& problem) {
  std::cerr << "tonvault-cli transform: " << problem << "\n" << kUsage;
  return 2;
}

enum class Operation { None, Replace, Lower, Upper, First, Words, Join, Split };

struct FieldName {
  const char* name;
  tagging::TagField field;
};
constexpr FieldName kFields[] = {
    {"v1:title", {tagging::Version::V1, tagging::Field::Title}},
    {"v1:artist", {tagging::Version::V1, tagging::Field::Artist}},
    {"v1:album", {tagging::Version::V1, tagging::Field::Album}},
    {"v1:comment", {tagging::Version::V1, tagging::Field::Comment}},
    {"v2:title", {tagging::Version::V2, tagging::Field::Title}},
    {"v2:artist", {tagging::Version::V2, tagging::Field::Artist}},
    {"v2:album", {tagging::Version::V2, tagging::Field::Album}},
    {"v2:comment", {tagging::Version::V2, tagging::Field::Comment}},
    {"v2:genre", {tagging::Version::V2, tagging::Field::Genre}},
};

struct Request {
  Operation operation = Operation::None;
  std::string fieldName = "v2:title";
  tagging::TagField field;
  std::string search, replaceBy;
  std::optional<std::string> separator;
};

bool TakeOperation(Request& request, Operation operation) {
  if (request.operation != Operation::None) return false;
  request.operation = operation;
  return true;
}

// Takes "--replace A B" out of the line, since it is the one option with two values.
std::string TakeReplace(Arguments& arguments, Request& request) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] != "--replace") continue;
    if (i + 2 >= arguments.size()) return "--replace needs the text to find and its replacement";
    if (!TakeOperation(request, Operation::Replace)) return "give one operation only";
    request.search = arguments[i + 1];
    request.replaceBy = arguments[i + 2];
    if (!tagging::ReplaceAllowed(request.search, request.replaceBy)) {
      return "--replace needs a text to find that does not occur in its replacement";
    }
    arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                    arguments.begin() + static_cast<std::ptrdiff_t>(i + 3));
    return TakeReplace(arguments, request);
  }
  return {};
}

std::optional<Operation> FlagOperation(const std::string& a) {
  static const std::pair<const char*, Operation> kFlags[] = {
      {"--lower", Operation::Lower}, {"--upper", Operation::Upper}, {"--first", Operation::First},
      {"--words", Operation::Words}, {"--join", Operation::Join},   {"--split", Operation::Split}};
  for (const auto& [flag, operation] : kFlags) {
    if (a == flag) return operation;
  }
  return std::nullopt;
}

// What is wrong with the operation and field asked for, or empty.
std::string Check(Request& request) {
  if (request.operation == Operation::None) return "give one operation";
  const auto found = std::find_if(std::begin(kFields), std::end(kFields),
                                  [&](const FieldName& f) { return request.fieldName == f.name; });
  if (found == std::end(kFields)) return "--field takes v1:title, v1:artist, v1:album, v1:comment or v2:title, "
                                         "v2:artist, v2:album, v2:comment, v2:genre";
  request.field = found->field;
  const bool titleAndArtist = request.operation == Operation::Join || request.operation == Operation::Split;
  if (titleAndArtist && request.fieldName != "v2:title") return "--join and --split work on v2:title";
  return {};
}

std::function<bool()> StepOf(tagging::TagEditor& editor, const Request& request) {
  using tagging::CaseMode;
  switch (request.operation) {
    case Operation::Replace:
      return [&] { return tagging::ReplaceStep(editor, request.field, request.search, request.replaceBy); };
    case Operation::Join: return [&] { return tagging::JoinStep(editor); };
    case Operation::Split: return [&] { return tagging::SplitStep(editor); };
    default: break;
  }
  const CaseMode mode = request.operation == Operation::Lower   ? CaseMode::Lower
                        : request.operation == Operation::Upper ? CaseMode::Upper
                        : request.operation == Operation::First ? CaseMode::FirstWord
                                                                : CaseMode::EveryWord;
  return [&editor, &request, mode] { return tagging::CaseStep(editor, request.field, mode); };
}

// The value a field has after the step: its new value when the step
// changed the entry, else the file's.
std::string After(const tagging::VersionState& state, tagging::Version version, tagging::Field field, bool changed) {
  return StoredText(version, field, changed ? state.Value(field) : state.Panel(field));
}

}  // namespace

// tonvault-cli transform: the Special menu's field transforms, for scripts.
int TransformCommand(const Arguments& given) {
  Arguments arguments = given;
  Request request;
  if (const std::string problem = TakeReplace(arguments, request); !problem.empty()) return Usage(problem);
  bool twice = false;
  const FileNameArguments parsed = ParseFileNameArguments(
      arguments,
      [&](const std::string& a) {
        const std::optional<Operation> operation = FlagOperation(a);
        if (!operation) return false;
        twice = twice || !TakeOperation(request, *operation);
        return true;
      },
      [&](const std::string& a, const std::string& value) -> std::optional<std::string> {
        if (a == "--field") request.fieldName = value;
        else if (a == "--separator") request.separator = value;
        else return std::nullopt;
        return std::string();
      });
  if (!parsed.error.empty()) return Usage(parsed.error);
  if (twice) return Usage("give one operation only");
  if (const std::string problem = Check(request); !problem.empty()) return Usage(problem);

  FileNameSession session;
  catalogue::RenameOptions& options = session.App().options.rename;
  if (request.separator) {
    (request.operation == Operation::Split ? options.extractSeparators[0] : options.separator) = *request.separator;
  }
  if (!session.Open("transform", parsed.files)) return session.Status();
  tagging::TagEditor& editor = session.Editor();
  const std::function<bool()> step = StepOf(editor, request);
  const bool titleAndArtist = request.operation == Operation::Join || request.operation == Operation::Split;
  const tagging::Version version = request.field.version;
  session.ForEachEntry([&](const std::string& file) {
    const tagging::VersionState& state = editor.Of(version);
    const std::string old = state.Panel(request.field.field);
    const std::string oldArtist = state.Panel(tagging::Field::Artist);
    const bool changed = step();
    if (changed && !parsed.dryRun && !editor.SaveEntry(tagging::SaveVersion(request.field))) {
      session.Failed();
      return;
    }
    JsonObject line;
    line.Add("file", file).Add("field", request.fieldName).Add("old", old);
    line.Add("new", After(state, version, request.field.field, changed));
    if (titleAndArtist) {
      line.Add("oldArtist", oldArtist).Add("newArtist", After(state, version, tagging::Field::Artist, changed));
    }
    session.Print(line.Add("changed", changed));
  });
  return session.Status();
}

}  // namespace tonvault::cli
