// The runner's side of the interaction commands: dialogs answered from the --answers file, speech
// played with --speak or captured into the --speech-wav file.
#pragma once

#include <csignal>
#include <string>
#include <string_view>

#include "interaction/answer_host.h"
#include "interaction/speech.h"

namespace kubrix::cli {

class InteractionHost : public AnswerHost {
 public:
  void speak(std::string_view text) override { speech.speak(text); }
  bool speaking() override { return speech.playing(); }
  void stopSpeaking() override { speech.stop(); }

  Speech speech;
};

struct InteractionOptions {
  std::string answers;    // --answers FILE
  bool speak = false;     // --speak
  std::string speechWav;  // --speech-wav FILE
};

// Reads the answers and starts speech. An answers file that cannot be read is reported on standard
// error and every dialog is then cancelled; refused answers are reported there as they happen.
void startInteraction(InteractionHost& host, const InteractionOptions& o);

// After the run: lets queued speech finish (an interrupt ends it), releases the speech engine and
// writes the WAV file. Returns 1 when the WAV file could not be written (reported), else 0.
int finishInteraction(InteractionHost& host, const InteractionOptions& o, const volatile std::sig_atomic_t& interrupted);

}  // namespace kubrix::cli
