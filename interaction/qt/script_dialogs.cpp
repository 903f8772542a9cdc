// The dialogs of the interaction commands.
#include "interaction/qt/script_dialogs.h"

#include <QDialog>
#include <QStringList>
#include <algorithm>

#include "interaction/qt/color_dlg1.h"
#include "interaction/qt/dialog_parts.h"
#include "interaction/qt/input_dlg1.h"
#include "interaction/qt/input_dlg2.h"
#include "interaction/qt/input_dlg4.h"
#include "interaction/qt/mes_dlg1.h"
#include "interaction/qt/yn_dlg1.h"

namespace kubrix::qt {

namespace {

QStringList listOf(const std::vector<std::string>& items) {
  QStringList out;
  out.reserve(static_cast<qsizetype>(items.size()));
  for (const std::string& s : items) out << fromSjis(s);
  return out;
}

}  // namespace

void ScriptDialogs::showMessage(const Host::MessageText& m) {
  message_->captionText = fromSjis(m.caption);
  message_->line1 = fromSjis(m.line1);
  message_->line2 = fromSjis(m.line2);
  message_->rangeMin = fromSjis(m.rangeMin);
  message_->rangeMax = fromSjis(m.rangeMax);
  message_->execute();
}

bool ScriptDialogs::askYesNo(const Host::YesNoQuestion& q) {
  yesNo_->captionText = fromSjis(q.caption);
  yesNo_->line1 = fromSjis(q.line1);
  yesNo_->line2 = fromSjis(q.line2);
  return yesNo_->execute();
}

bool ScriptDialogs::askText(Host::TextQuestion& q) {
  QString value = fromSjis(q.value);
  if (!input1_->ask(fromSjis(q.caption), fromSjis(q.prompt), value, q.maxLength)) return false;
  q.value = toSjis(value);
  return true;
}

bool ScriptDialogs::askItem(Host::ItemQuestion& q) {
  input2_->promptText = fromSjis(q.prompt);
  input2_->items = listOf(q.items);
  input2_->chosenText = fromSjis(q.wanted);
  if (!input2_->execute()) return false;
  q.index = input2_->chosenIndex;
  return true;
}

bool ScriptDialogs::askValues(std::vector<Host::ValueRow>& rows) {
  const int n = std::clamp(static_cast<int>(rows.size()), 1, 4);
  input4_->rowCount = n;
  for (int i = 0; i < n && i < static_cast<int>(rows.size()); ++i) {
    const Host::ValueRow& r = rows[static_cast<size_t>(i)];
    input4_->rows[static_cast<size_t>(i)] = TInputDlg4::Row{r.mode, fromSjis(r.label), fromSjis(r.value), listOf(r.items)};
  }
  if (!input4_->execute()) return false;
  for (int i = 0; i < n && i < static_cast<int>(rows.size()); ++i)
    rows[static_cast<size_t>(i)].value = toSjis(input4_->rows[static_cast<size_t>(i)].value);
  return true;
}

bool ScriptDialogs::askColour(int& index) {
  colour_->colourIndex = index;
  if (!colour_->execute()) return false;
  index = colour_->colourIndex;
  return true;
}

QDialog* ScriptDialogs::openDialog() const {
  for (QDialog* d : std::initializer_list<QDialog*>{input1_, message_, input4_, yesNo_, colour_, input2_})
    if (d && d->isVisible()) return d;
  return nullptr;
}

void ScriptDialogs::closeOpen() {
  if (QDialog* d = openDialog()) d->reject();
}

}  // namespace kubrix::qt
