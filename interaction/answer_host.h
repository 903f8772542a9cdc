// A host that answers the interaction dialogs from prepared lines instead of a person: the runner's
// --answers file and the tests. One line answers one dialog (the several-values dialog takes one line
// per row) in the order the dialogs open; "<cancel>" cancels the dialog; when the lines are used up
// every dialog is cancelled. An answer that the dialog would refuse (a position outside the list, a
// blank number row, a colour that is no swatch) cancels the dialog and is reported. Messages take no
// line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/host.h"

namespace kubrix {

class AnswerHost : public Host {
 public:
  // The answer lines, CP932.
  void setAnswers(std::vector<std::string> lines) {
    answers_ = std::move(lines);
    next_ = 0;
  }
  size_t answersUsed() const { return next_; }

  // Reads an answers file: UTF-8 (with or without a byte-order mark) or Shift-JIS, one answer per
  // line, LF or CR LF; a last line without a line end counts. False with a reason when unreadable.
  static bool readAnswers(const std::string& path, std::vector<std::string>& lines, std::string& error);

  // Called with a UTF-8 note for every refused answer; the default says nothing.
  std::function<void(const std::string&)> onRefused;

  void showMessage(const MessageText& m) override;
  bool askYesNo(const YesNoQuestion& q) override;
  bool askText(TextQuestion& q) override;
  bool askItem(ItemQuestion& q) override;
  bool askValues(std::vector<ValueRow>& rows) override;
  bool askColour(int& index) override;

 private:
  // The next answer line; false when they are used up or the line is "<cancel>".
  bool next(std::string_view& line);
  bool refuse(std::string_view line, const std::string& why);
  // A position in a list of n items; false (refused) otherwise.
  bool position(std::string_view line, size_t n, int& pos);

  std::vector<std::string> answers_;
  size_t next_ = 0;
};

}  // namespace kubrix
