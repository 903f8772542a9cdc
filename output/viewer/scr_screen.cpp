// The 3D viewer window: layout, view control, picture capture, copy and save-as.
#include "output/viewer/scr_screen.h"

#include <QApplication>
#include <algorithm>
#include <cstring>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "output/render/bmp_writer.h"
#include "output/viewer/gl_support.h"
#include "output/viewer/save_as.h"
#include "output/render/view_scale.h"

namespace kubrix {

namespace {

ViewerUi defaultUi(QWidget* parent) {
  ViewerUi ui;
  ui.message = [parent](ViewerUi::Icon icon, const QString& text) {
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Question, QMessageBox::Warning,
                                                   QMessageBox::Critical};
    QMessageBox box(kIcons[static_cast<int>(icon)], QStringLiteral("Kubrix"), text, QMessageBox::Ok, parent);
    box.exec();
  };
  ui.askYesNo = [parent](const QString& text) {
    return QMessageBox::question(parent, QStringLiteral("Kubrix"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
  };
  ui.chooseSaveFile = [parent](const QString& folder, QString& path, int& filterIndex) {
    QStringList filters;
    for (const char* f : viewer::kSaveFilterNames) filters << QString::fromUtf8(f);
    QString selected = filters.value(filterIndex, filters.first());
    // The overwrite question is the command's own; the dialog must not ask it first.
    path = QFileDialog::getSaveFileName(parent, QStringLiteral("名前を付けて保存"), folder, filters.join(";;"), &selected,
                                        QFileDialog::DontConfirmOverwrite);
    filterIndex = std::max(0, static_cast<int>(filters.indexOf(selected)));
    return !path.isEmpty();
  };
  ui.beep = [] { QApplication::beep(); };
  return ui;
}

viewer::RgbPicture toRgbPicture(const QImage& image) {
  viewer::RgbPicture p;
  if (image.isNull()) return p;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  p.width = rgb.width();
  p.height = rgb.height();
  p.rgb.resize(static_cast<size_t>(p.width) * static_cast<size_t>(p.height) * 3);
  for (int y = 0; y < p.height; ++y)
    std::memcpy(&p.rgb[static_cast<size_t>(y) * static_cast<size_t>(p.width) * 3], rgb.constScanLine(y),
                static_cast<size_t>(p.width) * 3);
  return p;
}

}  // namespace

namespace viewer {

namespace {
// The least room of a status text: its axis, the angle and the start of the shift.
constexpr int kMinimumWidth = 110;
}  // namespace

void HoldLabel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit step();
}

void HoldLabel::mouseMoveEvent(QMouseEvent* e) {
  if ((e->buttons() & Qt::LeftButton) && rect().contains(e->position().toPoint())) emit step();
}

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  setMinimumWidth(kMinimumWidth);
}

void StatusLabel::setStatus(const QString& text) {
  if (text == this->text()) return;
  setText(text);
  setToolTip(text);
}

QSize StatusLabel::sizeHint() const { return {kMinimumWidth, QLabel::sizeHint().height()}; }

QSize StatusLabel::minimumSizeHint() const { return sizeHint(); }

void StatusLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect room = contentsRect();
  painter.setPen(palette().color(foregroundRole()));
  painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
}

}  // namespace viewer

TScrScreen::TScrScreen(QWidget* parent) : QMainWindow(parent) {
  ui_ = defaultUi(this);
  buildUi();
}

TScrScreen::~TScrScreen() {
  if (reporting_) qApp->removeEventFilter(this);
}

void TScrScreen::buildUi() {
  setObjectName(QStringLiteral("TScrScreen"));
  setWindowTitle(QStringLiteral("Kubrix"));
  resize(681, 480);

  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  MnuFileSave = file->addAction(QStringLiteral("名前を付けて保存(&S)..."), this, &TScrScreen::saveAs);
  MnuFileClose = file->addAction(QStringLiteral("閉じる(&C)"), this, &QWidget::close);
  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  MnuEditCopy = edit->addAction(QStringLiteral("コピー(&C)"), this, &TScrScreen::copyPicture);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  auto* panel = new QWidget(central);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFixedHeight(kPanelHeight);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(4);
  auto speedButton = [&](const char* name, const char* caption, void (viewer::ViewState::*preset)()) {
    auto* b = new QToolButton(panel);
    b->setObjectName(QString::fromUtf8(name));
    b->setText(QString::fromUtf8(caption));
    b->setMinimumWidth(44);
    connect(b, &QToolButton::clicked, this, [this, preset] {
      (view_.*preset)();
      viewChanged();
    });
    row->addWidget(b);
    return b;
  };
  SpeedButton1 = speedButton("SpeedButton1", "X-Y", &viewer::ViewState::presetXY);
  SpeedButton2 = speedButton("SpeedButton2", "X-Z", &viewer::ViewState::presetXZ);
  SpeedButton3 = speedButton("SpeedButton3", "Y-Z", &viewer::ViewState::presetYZ);
  SpeedButton4 = speedButton("SpeedButton4", "X-Y-Z", &viewer::ViewState::presetXYZ);

  RadioGroup1 = new QGroupBox(QStringLiteral("回転"), panel);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  auto* radios = new QHBoxLayout(RadioGroup1);
  radios->setContentsMargins(4, 0, 4, 0);
  turnGroup_ = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    auto* r = new QRadioButton(QString(QChar("XYZR"[i])), RadioGroup1);
    radios->addWidget(r);
    turnGroup_->addButton(r, i);
  }
  row->addWidget(RadioGroup1);

  auto holdLabel = [&](const char* name, const char* text, const char* hint, void (TScrScreen::*zoom)()) {
    auto* l = new viewer::HoldLabel(QString::fromUtf8(text), panel);
    l->setObjectName(QString::fromUtf8(name));
    l->setToolTip(QString::fromUtf8(hint));
    connect(l, &viewer::HoldLabel::step, this, zoom);
    row->addWidget(l);
    return l;
  };
  Label1 = holdLabel("Label1", "▲", "拡大", &TScrScreen::zoomIn);
  Label2 = holdLabel("Label2", "▼", "縮小", &TScrScreen::zoomOut);

  CheckBox1 = new QCheckBox(QStringLiteral("軸表示"), panel);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox2 = new QCheckBox(QStringLiteral("カラー"), panel);
  CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
  CheckBox1->setChecked(true);
  for (QCheckBox* c : {CheckBox1, CheckBox2}) {
    connect(c, &QCheckBox::toggled, this, [this] { viewChanged(); });
    row->addWidget(c);
  }

  auto* labels = new QVBoxLayout;
  labels->setSpacing(0);
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  auto statusLabel = [&](const char* name, const char* colour) {
    auto* l = new viewer::StatusLabel(panel);
    l->setObjectName(QString::fromUtf8(name));
    l->setFont(small);
    l->setStyleSheet(QStringLiteral("color: %1").arg(QString::fromUtf8(colour)));
    labels->addWidget(l);
    return l;
  };
  LabelX = statusLabel("LabelX", "red");
  LabelY = statusLabel("LabelY", "green");
  LabelZ = statusLabel("LabelZ", "blue");
  row->addLayout(labels, 1);
  column->addWidget(panel);

  pictureHolder_ = new QWidget(central);
  auto* holderLayout = new QVBoxLayout(pictureHolder_);
  holderLayout->setContentsMargins(0, 0, 0, 0);
  column->addWidget(pictureHolder_, 1);
  setCentralWidget(central);

  setTurnAxis(viewer::TurnAxis::X);
  updateLabels();
  createPictureArea();
}

void TScrScreen::createPictureArea() {
  // Without a usable context no QOpenGLWidget is made, so no OpenGL call can follow; the window
  // says so each time it is shown. The picture area is made before the first show so that the
  // layout has sized it when the view is first set up.
  if (!viewer::openGlUsable()) return;
  screen_ = new viewer::ScreenView(*this);
  pictureHolder_->layout()->addWidget(screen_);
}

bool TScrScreen::openGlReady() const { return screen_ && screen_->ready(); }

viewer::TurnAxis TScrScreen::turnAxis() const {
  const int id = turnGroup_->checkedId();
  return id < 0 ? viewer::TurnAxis::X : static_cast<viewer::TurnAxis>(id);
}

void TScrScreen::setTurnAxis(viewer::TurnAxis axis) { turnGroup_->button(static_cast<int>(axis))->setChecked(true); }

void TScrScreen::prepareLists() {
  if (store_) viewScale_ = viewer::computeViewScale(*store_);
  setTurnAxis(viewer::TurnAxis::X);
  const QSignalBlocker b1(CheckBox1), b2(CheckBox2);
  CheckBox1->setChecked(true);
  CheckBox2->setChecked(false);
  if (screen_) screen_->requestLists();
  view_.reset();
  captured_ = QImage();
}

void TScrScreen::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (e->spontaneous()) return;  // a window restored from the task bar is no new show
  if (!screen_) ui_.message(ViewerUi::Icon::None, viewer::openGlUnavailableMessage());
  prepareLists();
  updateLabels();
}

void TScrScreen::closeEvent(QCloseEvent* e) {
  captured_ = QImage();
  view_.release();
  // The lists of a large store hold as much memory as the store: they go with the window.
  if (screen_) screen_->releaseLists();
  buildEnded(false);
  QMainWindow::closeEvent(e);
}

void TScrScreen::openAfterRun(const FigureStore& store) {
  store_ = &store;
  if (!isVisible()) show();
  prepareLists();
  handledSize_ = QSize();
  resizeHandling(screen_ ? screen_->size() : pictureHolder_->size());
  view_.presetXYZ();
  setTurnAxis(viewer::TurnAxis::Z);
  viewChanged();
}

void TScrScreen::resizeHandling(const QSize& pictureSize) {
  // Qt repeats a resize of the same size when the context comes up; only a real change resets.
  if (pictureSize == handledSize_) return;
  handledSize_ = pictureSize;
  view_.presetXY();
  viewChanged();
}

void TScrScreen::viewChanged() {
  updateLabels();
  if (screen_) screen_->update();
}

void TScrScreen::updateLabels() {
  LabelX->setStatus(QString::fromStdString(view_.label(0)));
  LabelY->setStatus(QString::fromStdString(view_.label(1)));
  LabelZ->setStatus(QString::fromStdString(view_.label(2)));
}

void TScrScreen::zoomIn() {
  if (view_.zoomIn()) viewChanged();
}

void TScrScreen::zoomOut() {
  if (view_.zoomOut()) viewChanged();
}

QImage TScrScreen::capturePicture() {
  captured_ = QImage();
  if (!openGlReady() || !isVisible()) return captured_;
  screen_->finishLists();
  const QImage frame = screen_->grabFramebuffer();
  if (!frame.isNull()) captured_ = frame.convertToFormat(QImage::Format_RGB888);
  return captured_;
}

void TScrScreen::copyPicture() {
  capturePicture();
  if (captured_.isNull()) return;
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(captured_);
}

bool TScrScreen::writeBitmap(const std::string& path) {
  if (captured_.isNull()) return false;
  return viewer::writeBmp24(path, toRgbPicture(captured_));
}

void TScrScreen::saveAs() {
  if (!store_ || store_->count() == 0) {
    ui_.message(ViewerUi::Icon::Question, QStringLiteral("図形データがありません。"));
    return;
  }
  capturePicture();
  QString chosen;
  int filter = 0;
  if (!ui_.chooseSaveFile(saveFolder_, chosen, filter)) return;
  saveFolder_ = QFileInfo(chosen).absolutePath();

  std::string path = chosen.toStdString();
  std::string ext = viewer::lowerExtension(path);
  if (ext.empty() && filter >= 0 && filter < viewer::kSaveFilterCount) {
    ext = viewer::kSaveFilterExtensions[filter];
    path += ext;
  }
  const QString qpath = QString::fromStdString(path);
  if (QFileInfo::exists(qpath) &&
      !ui_.askYesNo(QStringLiteral("同じファイル名が既に存在します。上書きしてもよろしいですか？")))
    return;
  if (viewer::refusesDoubleByteNames(ext) && viewer::hasDoubleByteCharacter(path)) {
    ui_.beep();
    ui_.message(ViewerUi::Icon::Error,
                QStringLiteral("ファイル名に全角文字（漢字、２バイト系記号文字等）を使用する事は出来ません。"));
    return;
  }
  const std::optional<viewer::SaveTarget> target = viewer::saveTargetForExtension(ext);
  if (!target) return;  // any other extension writes nothing

  std::string error;
  bool ok;
  if (target->bitmap) {
    ok = writeBitmap(path);
    if (!ok) error = captured_.isNull() ? "描画された画像がありません。" : "ファイルに書き込めません。";
  } else if (writer_) {
    ExportContext context;
    context.exportScale = 1.0;
    context.viewScale = viewScale_;
    ok = writer_(*store_, target->format, path, context, error);
  } else {
    ok = false;
    error = "この形式の書き出しは組み込まれていません。";
  }
  // A failed save is reported: the file the user asked for does not exist (or is as it was).
  if (!ok)
    ui_.message(ViewerUi::Icon::Warning, QStringLiteral("ファイルを保存出来ませんでした。") +
                                             (error.empty() ? QString() : "\n" + QString::fromStdString(error)));
}

}  // namespace kubrix
