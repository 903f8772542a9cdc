// kubrix-run and the interaction commands: the answers file, what BEEP, MESSAGE and TALK print, and
// speech written to a WAV file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "tests/cli/cli_run.h"

namespace kubrix::clitest {
namespace {

const std::vector<std::string> kDialogScript = {
    "#VAR",
    "f=9",
    "v=5",
    "#DRAW",
    "BEEP",
    "MESSAGE \"題名\", \"一行目\", \"二行目\", 0, 10",
    "TALK \"こんにちは\"",
    "INP_NUM f, v, \"長さ\"",
};

TEST(CliInteraction, BeepMessageAndTalkPrintOnlyTheirLogLines) {
  TempDir dir;
  const auto script = dir.write("d.kx", sjisScript(kDialogScript));
  const std::string expected = logLine(1, "変数定義(18):「f」 初期値:9") + logLine(2, "変数定義(19):「v」 初期値:5") +
                               logLine(4, "<BEEP>") + logLine(5, "<メッセージ表示>") +
                               logLine(6, "<音声合成>「こんにちは」") + logLine(7, "<数値入力> <0> [5]");
  for (const bool speak : {false, true}) {
    const RunResult r = speak ? runCli({"--speak", script}) : runCli({script});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, expected);
  }
}

TEST(CliInteraction, UnreadableAnswersFileCancelsEveryDialogAndSaysSo) {
  TempDir dir;
  const auto script = dir.write("d.kx", sjisScript(kDialogScript));
  const RunResult r = runCli({"--answers", dir.file("none.txt"), script});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.err.find("none.txt"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("<数値入力> <0> [5]"), std::string::npos) << r.out;
}

TEST(CliInteraction, SpeakAndSpeechWavExcludeEachOther) {
  TempDir dir;
  const auto script = dir.write("d.kx", sjisScript(kDialogScript));
  const RunResult r = runCli({"--speak", "--speech-wav", dir.file("s.wav"), script});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(fileExists(dir.file("s.wav")));
}

struct Wav {
  uint16_t format = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  std::vector<int16_t> samples;
};

uint32_t le32(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
uint16_t le16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

// Reads a canonical PCM WAV file; fails the test when the layout is not that.
Wav readWav(const std::string& bytes) {
  Wav w;
  EXPECT_GE(bytes.size(), 44u);
  if (bytes.size() < 44) return w;
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(le32(bytes, 4), bytes.size() - 8);
  w.format = le16(bytes, 20);
  w.channels = le16(bytes, 22);
  w.rate = le32(bytes, 24);
  w.bits = le16(bytes, 34);
  EXPECT_EQ(bytes.substr(36, 4), "data");
  const uint32_t n = le32(bytes, 40);
  EXPECT_EQ(n, bytes.size() - 44);
  w.samples.resize(n / 2);
  std::memcpy(w.samples.data(), bytes.data() + 44, w.samples.size() * 2);  // little-endian machine
  return w;
}

TEST(CliInteraction, TalkOfJapaneseTextIsAudibleInTheSpeechWav) {
  TempDir dir;
  const auto script = dir.write(
      "t.kx", sjisScript({"#VAR", "s=図形を作図しました", "#DRAW", "TALK \"こんにちは\"", "TALK s", "BEEP"}));
  const RunResult r = runCli({"--speech-wav", dir.file("t.wav"), script});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const Wav w = readWav(readFile(dir.file("t.wav")));
  EXPECT_EQ(w.format, 1);
  EXPECT_EQ(w.channels, 1);
  EXPECT_EQ(w.bits, 16);
  ASSERT_GT(w.rate, 0u);
  // Two sentences last well over a second; speech has a clear level and real peaks.
  EXPECT_GT(w.samples.size(), w.rate);
  double sum = 0;
  int peak = 0;
  for (int16_t s : w.samples) {
    sum += double(s) * s;
    peak = std::max(peak, std::abs(int(s)));
  }
  const double rms = w.samples.empty() ? 0 : std::sqrt(sum / double(w.samples.size()));
  EXPECT_GT(rms, 300.0);
  EXPECT_GT(peak, 3000);

  // The second text alone gives a shorter file: each TALK adds its own speech.
  const auto one = dir.write("o.kx", sjisScript({"#DRAW", "TALK \"こんにちは\""}));
  ASSERT_EQ(runCli({"--speech-wav", dir.file("o.wav"), one}).exitCode, 0);
  const Wav w1 = readWav(readFile(dir.file("o.wav")));
  EXPECT_GT(w1.samples.size(), w.rate / 4);
  EXPECT_LT(w1.samples.size(), w.samples.size());
}

TEST(CliInteraction, SpeechWavWithoutTalkIsAnEmptyWavAndAnUnwritableOneIsStatusOne) {
  TempDir dir;
  const auto script = dir.write("n.kx", sjisScript({"#DRAW", "BEEP"}));
  ASSERT_EQ(runCli({"--speech-wav", dir.file("n.wav"), script}).exitCode, 0);
  EXPECT_EQ(readWav(readFile(dir.file("n.wav"))).samples.size(), 0u);

  const RunResult r = runCli({"--speech-wav", dir.file("missing/n.wav"), script});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("missing/n.wav"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, logLine(1, "<BEEP>"));
}

}  // namespace
}  // namespace kubrix::clitest
