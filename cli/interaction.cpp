// Answers and speech of kubrix-run.
#include "cli/interaction.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace kubrix::cli {

void startInteraction(InteractionHost& host, const InteractionOptions& o) {
  if (!o.answers.empty()) {
    std::vector<std::string> lines;
    std::string error;
    if (AnswerHost::readAnswers(o.answers, lines, error)) {
      host.setAnswers(std::move(lines));
    } else {
      fprintf(stderr, "kubrix-run: --answers: cannot read %s: %s; every dialog is cancelled\n", o.answers.c_str(),
              error.c_str());
    }
  }
  host.onRefused = [](const std::string& note) { fprintf(stderr, "kubrix-run: --answers: %s\n", note.c_str()); };
  // Without a sound device (or speech data) --speak is silently off, as in the desktop program.
  if (!o.speechWav.empty()) {
    if (!host.speech.open(Speech::Output::Capture))
      fprintf(stderr, "kubrix-run: --speech-wav: the speech engine cannot start; %s gets no speech\n",
              o.speechWav.c_str());
  } else if (o.speak) {
    host.speech.open(Speech::Output::Device);
  }
}

int finishInteraction(InteractionHost& host, const InteractionOptions& o, const volatile std::sig_atomic_t& interrupted) {
  while (host.speaking() && !interrupted) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (host.speaking()) host.stopSpeaking();
  host.speech.release();
  if (o.speechWav.empty()) return 0;
  if (!writeWav(o.speechWav, host.speech.captured(), host.speech.sampleRate())) {
    fprintf(stderr, "kubrix-run: cannot write %s: %s\n", o.speechWav.c_str(), strerror(errno));
    return 1;
  }
  return 0;
}

}  // namespace kubrix::cli
