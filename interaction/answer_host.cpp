// The host that answers dialogs from prepared lines.
#include "interaction/answer_host.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/number_text.h"
#include "engine/sjis.h"
#include "interaction/dialog_rules.h"

namespace kubrix {

bool AnswerHost::readAnswers(const std::string& path, std::vector<std::string>& lines, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return false;
  }
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) {
    error = "read error";
    return false;
  }
  std::string text = buf.str();
  const bool bom = text.rfind("\xEF\xBB\xBF", 0) == 0;
  if (bom) text.erase(0, 3);
  bool high = false;
  for (char ch : text) high |= static_cast<unsigned char>(ch) >= 0x80;
  if (bom || (high && isValidUtf8(text))) text = utf8ToSjis(text);
  lines.clear();
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = end + 1;
  }
  return true;
}

bool AnswerHost::next(std::string_view& line) {
  if (next_ >= answers_.size()) return false;
  line = answers_[next_++];
  return line != "<cancel>";
}

bool AnswerHost::refuse(std::string_view line, const std::string& why) {
  if (onRefused)
    onRefused("answer line " + std::to_string(next_) + " \"" + sjisToUtf8(line) + "\": " + why +
              "; the dialog is cancelled");
  return false;
}

bool AnswerHost::position(std::string_view line, size_t n, int& pos) {
  int32_t p = 0;
  if (!parseInt32(line, p)) return refuse(line, "not a position");
  if (p < 0 || static_cast<size_t>(p) >= n)
    return refuse(line, "no item at that position (" + std::to_string(n) + " items)");
  pos = p;
  return true;
}

void AnswerHost::showMessage(const MessageText&) {}

bool AnswerHost::askYesNo(const YesNoQuestion&) {
  std::string_view line;
  if (!next(line)) return false;
  int32_t v = 0;
  if (!parseInt32(line, v) || (v != 0 && v != 1)) return refuse(line, "not 1 (yes) or 0 (no)");
  return v == 1;
}

bool AnswerHost::askText(TextQuestion& q) {
  std::string_view line;
  if (!next(line)) return false;
  // The field takes no more than its length limit, as typing into it would.
  q.value = q.maxLength >= 1 && q.maxLength <= 255 ? cutBytes(line, static_cast<size_t>(q.maxLength)) : line;
  return true;
}

bool AnswerHost::askItem(ItemQuestion& q) {
  std::string_view line;
  if (!next(line)) return false;
  return position(line, q.items.size(), q.index);
}

bool AnswerHost::askValues(std::vector<ValueRow>& rows) {
  std::vector<std::string> answers;
  bool refused = false;
  for (ValueRow& row : rows) {
    std::string_view line;
    if (!next(line)) return false;
    if (refused) continue;  // the dialog's rows are all read, so that the next dialog starts in step
    int pos = -1;
    if (row.mode == 1) {
      refused = !position(line, row.items.size(), pos);
      answers.push_back(std::to_string(pos));
    } else if (row.mode == 2) {
      refused = std::find(row.items.begin(), row.items.end(), line) == row.items.end();
      if (refused) refuse(line, "not one of the row's items");
      answers.emplace_back(line);
    } else {
      refused = refusedFreeText(line);
      if (refused) refuse(line, "a row left blank");
      answers.emplace_back(line);
    }
  }
  if (refused) return false;
  for (size_t i = 0; i < rows.size(); ++i) rows[i].value = std::move(answers[i]);
  return true;
}

bool AnswerHost::askColour(int& index) {
  std::string_view line;
  if (!next(line)) return false;
  int32_t v = 0;
  if (!parseInt32(line, v) || v < 1 || v > 255) return refuse(line, "not a colour index from 1 to 255");
  index = pickedColourIndex(v);
  return true;
}

}  // namespace kubrix
