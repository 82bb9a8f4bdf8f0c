#pragma once
// A separate sound recording as the edit's sound (a recorder on the desk, a
// phone by the stage): the file, and its start point, the moment of the
// recording, in whole milliseconds, that lies under the edit's frame 0. A
// negative start point: the recording began after the edit's frame 0.
//
// In the edit script the recording takes angle A's place in the audio line,
// read with the functions AviSynth users have for it, so that the script
// still runs in AviSynth+ with the FFMS2 plugin:
//   audio=wavsource("rec.wav").delayaudio(-12.345)         a WAV file
//   audio=ffaudiosource("rec.flac").delayaudio(0.480)      anything else
// DelayAudio's seconds are the start point negated, with three decimals.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel::model {

// "1500", "-250", "0": an optional minus and up to twelve digits.
bool isWholeMilliseconds(std::string_view text);

// The audio line for a recording whose start point is a whole number of milliseconds.
std::string recordingAudioLine(const std::string& path, const std::string& startMilliseconds);

struct RecordingInScript {
    std::string path;
    std::string startMilliseconds;
};

// The recording of an audio line written as above; nothing for another line.
std::optional<RecordingInScript> readRecordingAudioLine(std::string_view line);

// The recording as the start-point dialog plays it: a blank picture whose
// frame n is millisecond n of the recording, over its sound, so that the
// frame the dialog shows is the start point in milliseconds.
std::string listeningScriptText(const std::string& path, std::int64_t milliseconds);

}  // namespace vistrel::model
