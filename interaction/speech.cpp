// The speech engine on espeak-ng.
#include "interaction/speech.h"

#include <dlfcn.h>
#include <espeak-ng/speak_lib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <type_traits>

#include "engine/sjis.h"

namespace kubrix {

namespace {

// espeak-ng keeps one engine per process: the open Speech, if any.
std::atomic<Speech*> gOpen{nullptr};
// Where the capturing engine collects its samples; espeak-ng's callback has no user pointer of its own.
std::vector<int16_t>* gCapture = nullptr;

// espeak-ng and the sound libraries it brings are loaded on the first open, not at every start of
// the programs: most runs never speak, and loading them costs more than the rest of a small run.
struct EspeakApi {
  decltype(&espeak_Initialize) initialize = nullptr;
  decltype(&espeak_SetVoiceByName) setVoiceByName = nullptr;
  decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
  decltype(&espeak_Synth) synth = nullptr;
  decltype(&espeak_IsPlaying) isPlaying = nullptr;
  decltype(&espeak_Cancel) cancel = nullptr;
  decltype(&espeak_Terminate) terminate = nullptr;
};

// The loaded functions, or nullptr when the library or one of them is missing (speech stays off).
const EspeakApi* espeakApi() {
  static const EspeakApi* api = []() -> const EspeakApi* {
    void* lib = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!lib) return nullptr;
    static EspeakApi a;
    auto load = [lib](auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
      return fn != nullptr;
    };
    const bool ok = load(a.initialize, "espeak_Initialize") && load(a.setVoiceByName, "espeak_SetVoiceByName") &&
                    load(a.setSynthCallback, "espeak_SetSynthCallback") && load(a.synth, "espeak_Synth") &&
                    load(a.isPlaying, "espeak_IsPlaying") && load(a.cancel, "espeak_Cancel") &&
                    load(a.terminate, "espeak_Terminate");
    return ok ? &a : nullptr;
  }();
  return api;
}

int captureSamples(short* wav, int count, espeak_EVENT*) {
  if (wav && count > 0 && gCapture) gCapture->insert(gCapture->end(), wav, wav + count);
  return 0;  // go on synthesising
}

}  // namespace

bool soundDeviceAvailable() {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (const char* server = std::getenv("PULSE_SERVER"); server && *server) return true;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    if (fs::exists(fs::path(runtime) / "pulse" / "native", ec)) return true;
  }
  for (fs::directory_iterator it("/dev/snd", ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind("pcmC", 0) == 0 && !name.empty() && name.back() == 'p') return true;
  }
  return false;
}

bool Speech::open(Output output) {
  std::lock_guard lock(m_);
  if (open_) return true;
  if (output == Output::Device && !soundDeviceAvailable()) return false;
  const EspeakApi* api = espeakApi();
  if (!api) return false;
  Speech* none = nullptr;
  if (!gOpen.compare_exchange_strong(none, this)) return false;
  const espeak_AUDIO_OUTPUT mode = output == Output::Device ? AUDIO_OUTPUT_PLAYBACK : AUDIO_OUTPUT_SYNCHRONOUS;
  // DONT_EXIT: a missing voice data folder must not end the program.
  const int rate = api->initialize(mode, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
  if (rate <= 0) {
    gOpen = nullptr;
    return false;
  }
  if (api->setVoiceByName("ja") != EE_OK) api->setVoiceByName("default");
  if (output == Output::Capture) {
    gCapture = &captured_;
    api->setSynthCallback(captureSamples);
  }
  rate_ = rate;
  output_ = output;
  open_ = true;
  return true;
}

bool Speech::isOpen() const {
  std::lock_guard lock(m_);
  return open_;
}

void Speech::speak(std::string_view sjis) {
  std::lock_guard lock(m_);
  if (!open_ || sjis.empty()) return;
  const std::string text = sjisToUtf8(sjis);
  espeakApi()->synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
}

bool Speech::playing() const {
  std::lock_guard lock(m_);
  return open_ && output_ == Output::Device && espeakApi()->isPlaying() != 0;
}

void Speech::stop() {
  std::lock_guard lock(m_);
  if (open_) espeakApi()->cancel();
}

void Speech::release() {
  std::lock_guard lock(m_);
  if (!open_) return;
  espeakApi()->cancel();
  espeakApi()->terminate();
  if (gCapture == &captured_) gCapture = nullptr;
  open_ = false;
  gOpen = nullptr;
}

bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int rate) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  unsigned char h[44];
  auto put32 = [&h](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  auto put16 = [&h](int at, uint16_t v) {
    h[at] = static_cast<unsigned char>(v);
    h[at + 1] = static_cast<unsigned char>(v >> 8);
  };
  std::memcpy(h, "RIFF", 4);
  put32(4, 36 + dataBytes);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put32(16, 16);                                   // format chunk size
  put16(20, 1);                                    // PCM
  put16(22, 1);                                    // mono
  put32(24, static_cast<uint32_t>(rate));          // samples per second
  put32(28, static_cast<uint32_t>(rate) * 2);      // bytes per second
  put16(32, 2);                                    // bytes per sample frame
  put16(34, 16);                                   // bits per sample
  std::memcpy(h + 36, "data", 4);
  put32(40, dataBytes);
  bool ok = std::fwrite(h, 1, sizeof h, f) == sizeof h;
  for (int16_t s : samples) {  // little-endian whatever the machine
    const unsigned char b[2] = {static_cast<unsigned char>(s & 0xFF), static_cast<unsigned char>((s >> 8) & 0xFF)};
    ok = ok && std::fwrite(b, 1, 2, f) == 2;
  }
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}

}  // namespace kubrix
