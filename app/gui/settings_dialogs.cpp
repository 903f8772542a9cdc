// TSetLine, TSetElse and the about box.
#include "app/gui/settings_dialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/number_text.h"
#include "geometry/palette.h"
#include "interaction/qt/beep.h"
#include "interaction/qt/color_dlg1.h"
#include "interaction/qt/dialog_parts.h"

namespace kubrix::gui {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

constexpr const char* kOk = "ＯＫ (&Y)";
constexpr const char* kCancel = "キャンセル (&N)";

QLineEdit* numberField(QWidget* parent, const QString& name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMaxLength(11);
  e->setFixedWidth(64);
  e->setAlignment(Qt::AlignRight);
  return e;
}

// The palette colour of the index in a colour field, shown beside it.
void showSwatch(QLabel* swatch, const QString& text) {
  int32_t index = 0;
  if (!parseInt32(text.toStdString(), index)) index = 0;
  const Rgb c = paletteColour(index);
  swatch->setStyleSheet(QString("background-color: rgb(%1,%2,%3); border: 1px solid gray;").arg(c.r).arg(c.g).arg(c.b));
}

}  // namespace

int fieldInt(const QLineEdit* edit) {
  int32_t v = 0;
  return parseInt32(edit->text().toStdString(), v) ? v : 0;
}

TSetLine::TSetLine(qt::TColorDlg1* picker, QWidget* parent) : QDialog(parent), picker_(picker) {
  setObjectName("TSetLine");
  setWindowTitle(u("線設定"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  for (int i = 0; i < 7; ++i) {
    auto* name = new QLabel(u(kLineKindNames[static_cast<size_t>(i)]), this);
    EditA[static_cast<size_t>(i)] = numberField(this, QString("EditA%1").arg(i + 1));
    EditB[static_cast<size_t>(i)] = numberField(this, QString("EditB%1").arg(i + 1));
    auto* swatch = new QLabel(this);
    swatch->setFixedSize(18, 18);
    ColorBtn[static_cast<size_t>(i)] = new QPushButton(u("色選択"), this);
    ColorBtn[static_cast<size_t>(i)]->setObjectName(QString("ColorBtn%1").arg(i + 1));
    ColorBtn[static_cast<size_t>(i)]->setAutoDefault(false);
    grid->addWidget(name, i, 0);
    grid->addWidget(new QLabel(u("レイヤ"), this), i, 1);
    grid->addWidget(EditA[static_cast<size_t>(i)], i, 2);
    grid->addWidget(new QLabel(u("(0-255)"), this), i, 3);
    grid->addWidget(new QLabel(u("線色"), this), i, 4);
    grid->addWidget(EditB[static_cast<size_t>(i)], i, 5);
    grid->addWidget(new QLabel(u("(1-255)"), this), i, 6);
    grid->addWidget(swatch, i, 7);
    grid->addWidget(ColorBtn[static_cast<size_t>(i)], i, 8);
    grid->setColumnMinimumWidth(3, 8);
    connect(EditB[static_cast<size_t>(i)], &QLineEdit::textChanged, swatch, [swatch](const QString& t) { showSwatch(swatch, t); });
    connect(ColorBtn[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { pickColour(i); });
  }
  layout->addLayout(grid);
  layout->addSpacing(10);
  auto* divisions = new QGridLayout;
  Edit1 = numberField(this, "Edit1");
  Edit2 = numberField(this, "Edit2");
  Edit3 = numberField(this, "Edit3");
  const std::array<std::pair<const char*, const char*>, 3> rows = {
      {{"円円弧の分割数", "(3-1000)"}, {"曲線区間分割数", "(1-1000)"}, {"コーナーR分割数", "(1-500)"}}};
  const std::array<QLineEdit*, 3> fields = {Edit1, Edit2, Edit3};
  for (int r = 0; r < 3; ++r) {
    divisions->addWidget(new QLabel(u(rows[static_cast<size_t>(r)].first), this), r, 0);
    divisions->addWidget(fields[static_cast<size_t>(r)], r, 1);
    divisions->addWidget(new QLabel(u(rows[static_cast<size_t>(r)].second), this), r, 2);
  }
  divisions->setColumnStretch(3, 1);
  layout->addLayout(divisions);
  MessageLabel = new QLabel(this);
  MessageLabel->setObjectName("MessageLabel");
  MessageLabel->setStyleSheet("color: #c00000");
  layout->addWidget(MessageLabel);
  layout->addSpacing(6);
  const qt::OkCancel b = qt::addOkCancel(this, layout, kOk, kCancel);
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(OKBtn, &QPushButton::clicked, this, &TSetLine::okPressed);
}

void TSetLine::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  EditA[0]->setFocus();
  EditA[0]->selectAll();
}

bool TSetLine::execute(Settings& s) {
  for (size_t i = 0; i < 7; ++i) {
    EditA[i]->setText(QString::number(s.lineLayer[i]));
    EditB[i]->setText(QString::number(s.lineColour[i]));
  }
  Edit1->setText(QString::number(s.arcSegments));
  Edit2->setText(QString::number(s.curveSegments));
  Edit3->setText(QString::number(s.cornerSegments));
  MessageLabel->clear();
  target_ = &s;
  const bool ok = exec() == QDialog::Accepted;
  target_ = nullptr;
  return ok;
}

void TSetLine::pickColour(int row) {
  QLineEdit* field = EditB[static_cast<size_t>(row)];
  picker_->colourIndex = fieldInt(field);
  if (picker_->execute()) field->setText(QString::number(picker_->colourIndex));
}

void TSetLine::okPressed() {
  struct Check {
    QLineEdit* field;
    int low, high;
    QString name;
  };
  std::vector<Check> checks;
  for (size_t i = 0; i < 7; ++i) {
    checks.push_back({EditA[i], 0, 255, u(kLineKindNames[i]) + u("のレイヤ")});
    checks.push_back({EditB[i], 1, 255, u(kLineKindNames[i]) + u("の線色")});
  }
  checks.push_back({Edit1, 3, 1000, u("円円弧の分割数")});
  checks.push_back({Edit2, 1, 1000, u("曲線区間分割数")});
  checks.push_back({Edit3, 1, 500, u("コーナーR分割数")});
  for (const Check& c : checks) {
    const int v = fieldInt(c.field);
    if (v < c.low || v > c.high) {
      qt::beep();
      // The focus alone does not tell a user what is wrong with the field.
      MessageLabel->setText(u("%1は %2～%3 の整数で入力してください。").arg(c.name).arg(c.low).arg(c.high));
      c.field->setFocus();
      c.field->selectAll();
      return;
    }
  }
  MessageLabel->clear();
  if (target_) {
    for (size_t i = 0; i < 7; ++i) {
      target_->lineLayer[i] = fieldInt(EditA[i]);
      target_->lineColour[i] = fieldInt(EditB[i]);
    }
    target_->arcSegments = fieldInt(Edit1);
    target_->curveSegments = fieldInt(Edit2);
    target_->cornerSegments = fieldInt(Edit3);
  }
  accept();
}

TSetElse::TSetElse(QWidget* parent) : QDialog(parent) {
  setObjectName("TSetElse");
  setWindowTitle(u("その他の設定"));
  auto* layout = new QVBoxLayout(this);
  Edit1 = new QLineEdit(this);
  Edit2 = new QLineEdit(this);
  Edit3 = new QLineEdit(this);
  const std::array<std::pair<QLineEdit*, const char*>, 3> rows = {
      {{Edit1, "暗号化スクリプトファイルを作成する際のパーソナルネーム"}, {Edit2, "作成者名"}, {Edit3, "ＵＲＬ"}}};
  int n = 1;
  for (const auto& [edit, caption] : rows) {
    edit->setObjectName(QString("Edit%1").arg(n++));
    edit->setMinimumWidth(380);
    auto* label = new QLabel(u(caption), this);
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
  }
  // The settings file keeps these in a read buffer of 255 bytes: 254 bytes survive a restart.
  qt::limitSjisBytes(Edit1, 254);
  qt::limitSjisBytes(Edit2, 128);
  qt::limitSjisBytes(Edit3, 128);
  CheckBox1 = new QCheckBox(u("ファイル変更時に再読込"), this);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setToolTip(u("開いているスクリプトファイルが他のエディタで保存されたら、読み込み直して実行します。"));
  layout->addWidget(CheckBox1);
  layout->addSpacing(6);
  const qt::OkCancel b = qt::addOkCancel(this, layout, kOk, kCancel);
  OKBtn = b.ok;
  CancelBtn = b.cancel;
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TSetElse::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Edit1->setFocus();
}

bool TSetElse::execute(Settings& s) {
  qt::presetText(Edit1, qt::fromSjis(s.personalName));
  qt::presetText(Edit2, qt::fromSjis(s.authorName));
  qt::presetText(Edit3, qt::fromSjis(s.authorUrl));
  CheckBox1->setChecked(s.reloadOnChange);
  if (exec() != QDialog::Accepted) return false;
  s.personalName = Edit1->text().isEmpty() ? std::string("---") : qt::toSjis(Edit1->text());
  s.authorName = qt::toSjis(Edit2->text());
  s.authorUrl = qt::toSjis(Edit3->text());
  s.reloadOnChange = CheckBox1->isChecked();
  return true;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("TAboutBox");
  setWindowTitle(u("バージョン情報"));
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel("Kubrix", this);
  QFont f = title->font();
  f.setPointSize(f.pointSize() + 8);
  f.setBold(true);
  title->setFont(f);
  layout->addWidget(title, 0, Qt::AlignHCenter);
  layout->addWidget(new QLabel(u("バージョン 0.1.0"), this), 0, Qt::AlignHCenter);
  layout->addWidget(new QLabel(u("スクリプトで３次元のワイヤー・面モデルを作成します。"), this), 0, Qt::AlignHCenter);
  layout->addSpacing(10);
  auto* ok = new QPushButton(u("OK"), this);
  ok->setDefault(true);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kubrix::gui
