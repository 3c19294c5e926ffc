#include "device/njb/SongId.h"

#include <charconv>
#include <cstring>
#include <string>

namespace tonvault::device {
namespace {

void AddText(njb_songid_t* song, const char* label, const std::string& value) {
  if (!value.empty()) NJB_Songid_Addframe(song, NJB_Songid_Frame_New_String(label, value.c_str()));
}

void AddNumber16(njb_songid_t* song, const char* label, long long value) {
  if (value > 0 && value <= 0xFFFF) {
    NJB_Songid_Addframe(song, NJB_Songid_Frame_New_Uint16(label, static_cast<u_int16_t>(value)));
  }
}

void AddNumber32(njb_songid_t* song, const char* label, long long value) {
  if (value > 0 && value <= 0xFFFFFFFFLL) {
    NJB_Songid_Addframe(song, NJB_Songid_Frame_New_Uint32(label, static_cast<u_int32_t>(value)));
  }
}

long long FrameNumber(const njb_songid_frame_t& frame) {
  switch (frame.type) {
    case NJB_TYPE_UINT16: return frame.data.u_int16_val;
    case NJB_TYPE_UINT32: return frame.data.u_int32_val;
    case NJB_TYPE_STRING: {
      if (frame.data.strval == nullptr) return 0;
      long long value = 0;
      const char* text = frame.data.strval;
      std::from_chars(text, text + std::strlen(text), value);
      return value;
    }
    default: return 0;
  }
}

std::string FrameText(const njb_songid_frame_t& frame) {
  if (frame.type == NJB_TYPE_STRING) return frame.data.strval != nullptr ? frame.data.strval : "";
  return std::to_string(FrameNumber(frame));
}

}  // namespace

SongIdPointer SongIdFromAudioInfo(const AudioInfo& info) {
  SongIdPointer song(NJB_Songid_New());
  njb_songid_t* s = song.get();
  NJB_Songid_Addframe(s, NJB_Songid_Frame_New_Codec(info.codec.empty() ? "MP3" : info.codec.c_str()));
  AddText(s, FR_TITLE, info.title);
  AddText(s, FR_ARTIST, info.artist);
  AddText(s, FR_ALBUM, info.album);
  AddText(s, FR_GENRE, info.genre);
  AddText(s, FR_COMMENT, info.comment);
  AddText(s, FR_FNAME, info.fileName);
  AddNumber32(s, FR_SIZE, info.fileSize);
  AddNumber16(s, FR_LENGTH, info.length);
  AddNumber16(s, FR_TRACK, info.trackNumber);
  AddNumber16(s, FR_YEAR, info.year);
  long long bitrate = 0;
  std::from_chars(info.bitrate.data(), info.bitrate.data() + info.bitrate.size(), bitrate);
  AddNumber32(s, FR_BITRATE, bitrate);
  if (info.isProtected) AddNumber16(s, FR_PROTECTED, 1);
  return song;
}

AudioInfo AudioInfoFromSongId(const njb_songid_t& song) {
  AudioInfo info;
  info.id = static_cast<int>(song.trid);
  for (const njb_songid_frame_t* frame = song.first; frame != nullptr; frame = frame->next) {
    if (frame->label == nullptr) continue;
    const std::string label = frame->label;
    if (label == FR_TITLE) info.title = FrameText(*frame);
    else if (label == FR_ARTIST) info.artist = FrameText(*frame);
    else if (label == FR_ALBUM) info.album = FrameText(*frame);
    else if (label == FR_GENRE) info.genre = FrameText(*frame);
    else if (label == FR_COMMENT) info.comment = FrameText(*frame);
    else if (label == FR_CODEC) info.codec = FrameText(*frame);
    else if (label == FR_FNAME) info.fileName = FrameText(*frame);
    else if (label == FR_BITRATE) info.bitrate = FrameText(*frame);
    else if (label == FR_SIZE) info.fileSize = FrameNumber(*frame);
    else if (label == FR_LENGTH) info.length = static_cast<int>(FrameNumber(*frame));
    else if (label == FR_TRACK) info.trackNumber = static_cast<int>(FrameNumber(*frame));
    else if (label == FR_YEAR) info.year = static_cast<int>(FrameNumber(*frame));
    else if (label == FR_PROTECTED) info.isProtected = FrameNumber(*frame) != 0;
  }
  return info;
}

}  // namespace tonvault::device
