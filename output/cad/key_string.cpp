// Parsing the command-key strings of the CAD hand-over.
#include "output/cad/key_string.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "engine/sjis.h"

namespace kubrix::cad {

namespace {

struct KeyName {
  std::string_view name;
  uint32_t sym;
};

constexpr KeyName kKeyNames[] = {
    {"INSERT", keysym::kInsert}, {"DELETE", keysym::kDelete},  {"HOME", keysym::kHome},
    {"END", keysym::kEnd},       {"PGUP", keysym::kPageUp},     {"PGDN", keysym::kPageDown},
    {"TAB", keysym::kTab},       {"ENTER", keysym::kReturn},    {"BKSP", keysym::kBackSpace},
    {"PRTSC", keysym::kPrint},   {"SHIFT", keysym::kShift},     {"SPACE", keysym::kSpace},
    {"SPC", keysym::kSpace},     {"LEFT", keysym::kLeft},       {"UP", keysym::kUp},
    {"RIGHT", keysym::kRight},   {"DOWN", keysym::kDown},       {"ESCAPE", keysym::kEscape},
    {"ESC", keysym::kEscape},
};

bool isModifierChar(char c) { return c == '^' || c == '@' || c == '~'; }

uint32_t modifierSym(char c) { return c == '^' ? keysym::kControl : c == '@' ? keysym::kAlt : keysym::kShift; }

std::optional<uint32_t> namedKey(std::string_view content) {
  const std::string name = upper(content.substr(0, 7));
  for (const KeyName& k : kKeyNames)
    if (name == k.name) return k.sym;
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F' && name[1] != '0') {
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') return std::nullopt;
      n = n * 10 + (name[i] - '0');
    }
    if (n >= 1 && n <= 12) return keysym::kF1 + static_cast<uint32_t>(n - 1);
  }
  return std::nullopt;
}

// The key of a single character. Letters send their key unshifted (as the upper-case key code);
// "*", "+", "-", "." and "/" are the numeric keypad's keys; any other printable character sends the
// key that types it.
std::optional<uint32_t> charKey(unsigned char c) {
  switch (c) {
    case ' ': return keysym::kSpace;
    case ',': return keysym::kComma;
    case '*': return keysym::kKpMultiply;
    case '+': return keysym::kKpAdd;
    case '-': return keysym::kKpSubtract;
    case '.': return keysym::kKpDecimal;
    case '/': return keysym::kKpDivide;
    case '\t': return keysym::kTab;
    case '\r':
    case '\n': return keysym::kReturn;
    default: break;
  }
  if (c >= 'A' && c <= 'Z') return static_cast<uint32_t>(c - 'A' + 'a');
  if (c > 0x20 && c < 0x7F) return c;
  return std::nullopt;  // other control characters and double-byte characters cannot be sent
}

struct Element {
  enum Kind { Nothing, Key, Modifier, Pause } kind = Nothing;
  uint64_t value = 0;  // keysym or milliseconds
};

// A group's trailing " k": the count |k| (capped), and the group without it.
long takeCount(std::string_view& content) {
  const size_t blank = content.find(' ');
  if (blank == std::string_view::npos) return 1;
  std::string_view rest = content.substr(blank + 1);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
  size_t i = (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) ? 1 : 0;
  if (i >= rest.size()) return 1;
  long k = 0;
  for (; i < rest.size(); ++i) {
    if (rest[i] < '0' || rest[i] > '9') return 1;  // not a count: the blank belongs to the group
    k = std::min(k * 10 + (rest[i] - '0'), kMaxTokenCount);
  }
  content = content.substr(0, blank);
  return k;
}

Element groupElement(std::string_view content) {
  bool digits = !content.empty();
  uint64_t n = 0;
  for (char c : content) {
    digits = digits && c >= '0' && c <= '9';
    if (digits) n = std::min<uint64_t>(n * 10 + static_cast<uint64_t>(c - '0'), 1000000000000ull);
  }
  if (digits && n > 0) return {Element::Pause, n * 100};
  if (const auto sym = namedKey(content)) return {Element::Key, *sym};
  if (content.size() == 1)
    if (const auto sym = charKey(static_cast<unsigned char>(content[0]))) return {Element::Key, *sym};
  return {};
}

class Emitter {
 public:
  Emitter(std::vector<KeyStep>& steps, uint64_t waitMs) : steps_(steps), waitMs_(waitMs) {}

  // One sending of a token: the wait, the held modifiers, the key, then every release.
  void token(const std::vector<uint32_t>& modifiers, std::optional<uint32_t> key) {
    if (waitMs_ > 0) steps_.push_back({KeyStep::Wait, waitMs_});
    for (uint32_t m : modifiers) steps_.push_back({KeyStep::Press, m});
    if (key) {
      steps_.push_back({KeyStep::Press, *key});
      steps_.push_back({KeyStep::Release, *key});
    }
    for (uint32_t m : {keysym::kControl, keysym::kAlt, keysym::kShift})
      for (uint32_t held : modifiers)
        if (held == m) steps_.push_back({KeyStep::Release, m});
  }
  void pause(uint64_t ms) { steps_.push_back({KeyStep::Pause, ms}); }

 private:
  std::vector<KeyStep>& steps_;
  uint64_t waitMs_;
};

// Replaces the first "{X...}" group by "^V" and keeps its text; false when no "}" closes it.
bool takeClipboardGroup(std::string& keys, KeyScript& script) {
  const size_t x = findChars(keys, "{X");
  if (x == std::string::npos) return true;
  const size_t close = findChars(std::string_view(keys).substr(x + 2), "}");
  if (close == std::string::npos) return false;
  script.hasClipboardText = true;
  script.clipboardText = keys.substr(x + 2, close);
  keys.replace(x, close + 3, "^V");
  return true;
}

}  // namespace

uint64_t waitMilliseconds(double seconds) {
  if (!(seconds > 0)) return 0;
  return static_cast<uint64_t>(std::llround(std::min(seconds, 1e9) * 1000.0));
}

KeyScript parseKeyString(std::string_view keyString, uint64_t waitMs) {
  KeyScript script;
  std::string keys(keyString);
  if (!takeClipboardGroup(keys, script)) {
    script.valid = false;
    script.hasClipboardText = false;
    return script;
  }
  Emitter emit(script.steps, waitMs);
  const std::string_view s = keys;
  for (size_t i = 0; i < s.size();) {
    std::vector<uint32_t> modifiers;
    auto hold = [&modifiers](uint32_t m) {
      if (std::find(modifiers.begin(), modifiers.end(), m) == modifiers.end()) modifiers.push_back(m);
    };
    for (int held = 0; i < s.size() && held < 3 && isModifierChar(s[i]); ++held, ++i) hold(modifierSym(s[i]));
    Element element;
    long count = 1;
    if (i < s.size() && s[i] == '{') {
      const size_t close = findChars(s.substr(i + 1), "}");
      if (close == std::string_view::npos) break;  // an unclosed group ends the string
      std::string_view content = s.substr(i + 1, close);
      i += close + 2;
      count = takeCount(content);
      element = groupElement(content);
      if (element.kind == Element::Nothing) continue;  // an unknown group sends nothing
    } else if (i < s.size()) {
      const size_t len = charLen(s, i);
      const char c = s[i];
      i += len;
      if (isModifierChar(c)) element = {Element::Modifier, modifierSym(c)};
      else if (const auto sym = len == 1 ? charKey(static_cast<unsigned char>(c)) : std::nullopt) element = {Element::Key, *sym};
      else continue;  // cannot be sent
    }
    for (long n = 0; n < count; ++n) {
      if (element.kind == Element::Pause) {
        emit.pause(element.value);
        continue;
      }
      if (element.kind == Element::Modifier) hold(static_cast<uint32_t>(element.value));
      emit.token(modifiers, element.kind == Element::Key ? std::optional<uint32_t>(static_cast<uint32_t>(element.value))
                                                        : std::nullopt);
    }
  }
  return script;
}

std::string describeSteps(const std::vector<KeyStep>& steps) {
  auto symName = [](uint64_t v) -> std::string {
    static const std::pair<uint32_t, const char*> names[] = {
        {keysym::kControl, "Control_L"}, {keysym::kAlt, "Alt_L"},      {keysym::kShift, "Shift_L"},
        {keysym::kTab, "Tab"},           {keysym::kReturn, "Return"},  {keysym::kEscape, "Escape"},
        {keysym::kBackSpace, "BackSpace"}, {keysym::kHome, "Home"},    {keysym::kEnd, "End"},
        {keysym::kLeft, "Left"},         {keysym::kUp, "Up"},          {keysym::kRight, "Right"},
        {keysym::kDown, "Down"},         {keysym::kPageUp, "Prior"},   {keysym::kPageDown, "Next"},
        {keysym::kInsert, "Insert"},     {keysym::kDelete, "Delete"},  {keysym::kPrint, "Print"},
        {keysym::kSpace, "space"},       {keysym::kComma, "comma"},    {keysym::kKpMultiply, "KP_Multiply"},
        {keysym::kKpAdd, "KP_Add"},      {keysym::kKpSubtract, "KP_Subtract"},
        {keysym::kKpDecimal, "KP_Decimal"}, {keysym::kKpDivide, "KP_Divide"}};
    for (const auto& [sym, name] : names)
      if (sym == v) return name;
    if (v >= keysym::kF1 && v < keysym::kF1 + 12) return "F" + std::to_string(v - keysym::kF1 + 1);
    if (v > 0x20 && v < 0x7F) return std::string(1, static_cast<char>(v));
    return "0x" + [v] {
      char buf[20];
      snprintf(buf, sizeof buf, "%llx", static_cast<unsigned long long>(v));
      return std::string(buf);
    }();
  };
  std::string out;
  for (const KeyStep& s : steps) {
    if (!out.empty()) out += ", ";
    switch (s.kind) {
      case KeyStep::Wait: out += "wait " + std::to_string(s.value); break;
      case KeyStep::Pause: out += "pause " + std::to_string(s.value); break;
      case KeyStep::Press: out += "+" + symName(s.value); break;
      case KeyStep::Release: out += "-" + symName(s.value); break;
    }
  }
  return out;
}

}  // namespace kubrix::cad
