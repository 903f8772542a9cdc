// The speech engine behind TALK (espeak-ng, Japanese voice). One engine at a time can be open in a
// process. It either plays through the sound device, asynchronously (speak returns at once and the
// text plays while the script goes on), or captures the samples in memory for a WAV file. With no
// sound device, or when espeak-ng cannot start, the engine stays closed and speech is silently off.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kubrix {

class Speech {
 public:
  enum class Output { Device, Capture };

  Speech() = default;
  ~Speech() { release(); }
  Speech(const Speech&) = delete;
  Speech& operator=(const Speech&) = delete;

  // Starts the engine; false (speech off) when there is no sound device for Device, when espeak-ng
  // fails to start, or when another engine is open in this process.
  bool open(Output output);
  bool isOpen() const;
  // Speaks CP932 text: queued behind what is still playing (Device), or synthesised into the captured
  // samples before it returns (Capture). Nothing happens while the engine is closed.
  void speak(std::string_view sjis);
  // True while queued speech is still playing.
  bool playing() const;
  // Ends what is playing and drops what is queued.
  void stop();
  // Stops and closes the engine (the captured samples are kept).
  void release();

  // Samples captured so far (16-bit mono) and their rate.
  const std::vector<int16_t>& captured() const { return captured_; }
  int sampleRate() const { return rate_; }

 private:
  mutable std::mutex m_;
  bool open_ = false;
  Output output_ = Output::Device;
  int rate_ = 22050;
  std::vector<int16_t> captured_;
};

// True when a sound output seems to be there: a PulseAudio (or PipeWire) server, or an ALSA
// playback device.
bool soundDeviceAvailable();

// Writes samples as a 16-bit mono PCM WAV file; false when the file cannot be written.
bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int rate);

}  // namespace kubrix
