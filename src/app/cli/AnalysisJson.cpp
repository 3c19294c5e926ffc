#include "cli/AnalysisJson.h"

#include <cstdio>

#include "cli/JsonLines.h"

namespace tonvault::cli {

namespace {

std::string GroupsJson(const std::vector<audio::FrameGroup>& groups) {
  std::string json = "[";
  for (const audio::FrameGroup& group : groups) {
    if (json.size() > 1) json += ", ";
    json += JsonObject()
                .Add("Frames", static_cast<long long>(group.count))
                .Add("MPEG", audio::MpegText(group.version))
                .Add("Layer", static_cast<long long>(group.layer))
                .Add("Bitrate", static_cast<long long>(group.bitrate))
                .Add("Frequency", static_cast<long long>(group.sampleRate))
                .Add("Mode", audio::FrameModeText(group.mode))
                .Line();
  }
  return json + "]";
}

std::string VerdictText(const catalogue::FileVerdict& verdict) {
  if (verdict.unreadable) return "Read Error !";
  return verdict.verdict.problem;
}

}  // namespace

std::string AnalysisJson(const catalogue::AnalysisPage& page, const catalogue::FileVerdict& verdict) {
  const audio::Mp3Analysis& analysis = page.analysis;
  return JsonObject()
      .Add("Filename", page.fileName)
      .Add("File size", static_cast<long long>(analysis.fileSize))
      .Add("ID3 V1 tag", page.id3v1Text)
      .Add("ID3 V2 tag", page.id3v2LengthText)
      .Add("ID3 V2 version", page.id3v2VersionText)
      .Add("ID3 V2 length", static_cast<long long>(analysis.TagLength()))
      .Add("First valid frame at", static_cast<long long>(analysis.FirstFrame()))
      .Add("BAD frames", static_cast<long long>(analysis.frames.BadCount()))
      .Add("Space before first", static_cast<long long>(analysis.SpaceBefore()))
      .Add("Space after last", static_cast<long long>(analysis.SpaceAfter()))
      .Add("Records", static_cast<long long>(analysis.frames.Records().size()))
      .Add("Largest bitrate", static_cast<long long>(analysis.frames.LargestBitrate()))
      .Add("Playing time", static_cast<long long>(analysis.PlayingSeconds()))
      .AddJson("groups", GroupsJson(analysis.frames.Groups()))
      .Add("problem", verdict.HasProblem())
      .Add("verdict", VerdictText(verdict))
      .Line();
}

std::string AnalysisText(const catalogue::AnalysisPage& page, const catalogue::FileVerdict& verdict) {
  std::string text = "Filename             " + page.fileName + "\n";
  text += "ID3 V1 tag           " + page.id3v1Text + "\n";
  text += "ID3 V2 tag           " + page.id3v2LengthText +
          (page.analysis.TagLength() > 0 ? "   " + page.id3v2VersionText : std::string()) + "\n";
  text += "First valid frame at " + page.firstFrameText + "\n";
  text += "Space before first   " + page.spaceBefore.label + "\n";
  text += "Space after last     " + page.spaceAfter.label + "\n";
  text += page.badFramesText + "\n";
  char line[128];
  std::snprintf(line, sizeof line, "%4s %10s %5s %5s %8s %10s  %s\n", "Row", "Frames", "MPEG", "Layer", "Bitrate",
                "Frequency", "Mode");
  text += line;
  int row = 0;
  for (const audio::FrameGroup& group : page.analysis.frames.Groups()) {
    std::snprintf(line, sizeof line, "%4d %10lld %5s %5d %8d %10d  %s\n", ++row, static_cast<long long>(group.count),
                  audio::MpegText(group.version).c_str(), group.layer, group.bitrate, group.sampleRate,
                  std::string(audio::FrameModeText(group.mode)).c_str());
    text += line;
  }
  text += "Verdict: " + (verdict.HasProblem() ? VerdictText(verdict) : std::string("OK")) + "\n";
  return text;
}

}  // namespace tonvault::cli
