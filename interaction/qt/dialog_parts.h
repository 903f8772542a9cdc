// Pieces the modal dialogs share: the OK and cancel buttons, text conversions at the window edge
// and the CP932 byte length that limits what an edit field takes.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <string>
#include <string_view>

class QBoxLayout;
class QDialog;

namespace kubrix::qt {

inline constexpr const char* kOkCaption = "OK (&Y)";
inline constexpr const char* kCancelCaption = "キャンセル (&N)";

// A row with the OK button (default, named "OKBtn") and the cancel button ("CancelBtn") at the
// right; returns both.
struct OkCancel {
  QPushButton* ok;
  QPushButton* cancel;
};
OkCancel addOkCancel(QDialog* dialog, QBoxLayout* layout, const char* okCaption = kOkCaption,
                     const char* cancelCaption = kCancelCaption);

// CP932 engine text to a widget text and back.
QString fromSjis(std::string_view sjis);
std::string toSjis(const QString& text);
// Length of a text in CP932 bytes (a character CP932 lacks counts as one byte, as it is stored "?").
int sjisLength(const QString& text);

// Keeps an edit field's text within maxBytes CP932 bytes (0 or less: no limit): an edit that makes
// a text longer than the limit is undone. A longer preset text stays and can be shortened.
void limitSjisBytes(QLineEdit* edit, int maxBytes);
// Sets the text of a limited field, also when it is longer than the limit.
void presetText(QLineEdit* edit, const QString& text);

}  // namespace kubrix::qt
