// The dialogs a running script opens, on the user-interface thread: each call fills a dialog's fields
// from the engine's question (CP932), shows it modally and copies the answer back.
#pragma once

#include <vector>

#include "engine/host.h"

class QDialog;

namespace kubrix::qt {

class TColorDlg1;
class TInputDlg1;
class TInputDlg2;
class TInputDlg4;
class TMesDlg1;
class TYNDlg1;

class ScriptDialogs {
 public:
  ScriptDialogs(TInputDlg1* input1, TMesDlg1* message, TInputDlg4* input4, TYNDlg1* yesNo, TColorDlg1* colour,
                TInputDlg2* input2)
      : input1_(input1), message_(message), input4_(input4), yesNo_(yesNo), colour_(colour), input2_(input2) {}

  void showMessage(const Host::MessageText& m);
  bool askYesNo(const Host::YesNoQuestion& q);
  bool askText(Host::TextQuestion& q);
  bool askItem(Host::ItemQuestion& q);
  bool askValues(std::vector<Host::ValueRow>& rows);
  bool askColour(int& index);

  // The dialog of these that is open, or nullptr.
  QDialog* openDialog() const;
  // Closes the open dialog as cancelled.
  void closeOpen();

 private:
  TInputDlg1* input1_;
  TMesDlg1* message_;
  TInputDlg4* input4_;
  TYNDlg1* yesNo_;
  TColorDlg1* colour_;
  TInputDlg2* input2_;
};

}  // namespace kubrix::qt
