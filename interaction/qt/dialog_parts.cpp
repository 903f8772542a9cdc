// Pieces the modal dialogs share.
#include "interaction/qt/dialog_parts.h"

#include <QBoxLayout>
#include <QDialog>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <algorithm>

#include "engine/sjis.h"

namespace kubrix::qt {

OkCancel addOkCancel(QDialog* dialog, QBoxLayout* layout, const char* okCaption, const char* cancelCaption) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  auto* ok = new QPushButton(QString::fromUtf8(okCaption), dialog);
  auto* cancel = new QPushButton(QString::fromUtf8(cancelCaption), dialog);
  for (QPushButton* b : {ok, cancel}) b->setMinimumWidth(std::max(96, b->fontMetrics().horizontalAdvance(b->text()) + 28));
  ok->setObjectName("OKBtn");
  cancel->setObjectName("CancelBtn");
  ok->setDefault(true);
  ok->setAutoDefault(true);
  cancel->setAutoDefault(false);
  row->addWidget(ok);
  row->addWidget(cancel);
  layout->addLayout(row);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return {ok, cancel};
}

QString fromSjis(std::string_view sjis) { return QString::fromStdString(sjisToUtf8(sjis)); }

std::string toSjis(const QString& text) { return utf8ToSjis(text.toStdString()); }

int sjisLength(const QString& text) { return static_cast<int>(toSjis(text).size()); }

void limitSjisBytes(QLineEdit* edit, int maxBytes) {
  edit->setProperty("kubrixMaxBytes", maxBytes);
  if (edit->property("kubrixLimited").toBool()) return;
  edit->setProperty("kubrixLimited", true);
  edit->setProperty("kubrixLastText", edit->text());
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
    const int limit = edit->property("kubrixMaxBytes").toInt();
    const QString last = edit->property("kubrixLastText").toString();
    const int bytes = sjisLength(text);
    if (limit <= 0 || bytes <= limit || bytes <= sjisLength(last)) {
      edit->setProperty("kubrixLastText", text);
      return;
    }
    // Keep as much of the inserted text as fits, as an edit field with a length limit does.
    qsizetype pre = 0, suf = 0;
    while (pre < text.size() && pre < last.size() && text[pre] == last[pre]) ++pre;
    while (suf < text.size() - pre && suf < last.size() - pre && text[text.size() - 1 - suf] == last[last.size() - 1 - suf]) ++suf;
    const QString head = text.left(pre), tail = text.right(suf);
    QString inserted = text.mid(pre, text.size() - pre - suf);
    while (!inserted.isEmpty() && sjisLength(head + inserted + tail) > limit)
      inserted.chop(inserted.size() >= 2 && inserted.back().isLowSurrogate() ? 2 : 1);
    QString kept = head + inserted + tail;
    if (sjisLength(kept) > limit && sjisLength(kept) > sjisLength(last)) kept = last;
    edit->setProperty("kubrixLastText", kept);
    const QSignalBlocker block(edit);
    edit->setText(kept);
    edit->setCursorPosition(static_cast<int>(std::min(pre + inserted.size(), kept.size())));
  });
}

void presetText(QLineEdit* edit, const QString& text) {
  edit->setProperty("kubrixLastText", text);
  edit->setText(text);
}

}  // namespace kubrix::qt
