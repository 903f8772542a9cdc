// The viewer's picture area: the OpenGL widget, its mouse and wheel, and the display lists built in
// parts, so that a store of millions of elements neither freezes the program nor has to be shown.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QTimer>
#include <QWheelEvent>

#include "output/viewer/gl_support.h"
#include "output/viewer/scr_screen.h"

namespace kubrix {

namespace viewer {

ScreenView::ScreenView(TScrScreen& owner) : QOpenGLWidget(&owner), owner_(owner), partTimer_(new QTimer(this)) {
  setFormat(viewerSurfaceFormat());
  setMouseTracking(false);
  setFocusPolicy(Qt::ClickFocus);
  // One part per turn of the event loop: the windows keep painting and keys keep arriving.
  partTimer_->setInterval(0);
  connect(partTimer_, &QTimer::timeout, this, &ScreenView::buildPart);
}

ScreenView::~ScreenView() { releaseLists(); }

void ScreenView::initializeGL() {
  ready_ = context() && context()->isValid() && hasFixedFunction(*context());
  if (!ready_) {
    owner_.ui_.message(ViewerUi::Icon::None, openGlUnavailableMessage());
    return;
  }
  if (listsWanted_) partTimer_->start();
}

void ScreenView::requestLists() {
  // The build starts on the next turn of the event loop, so that asking twice (a show and an open
  // after a run) builds once.
  listsWanted_ = true;
  if (ready_) partTimer_->start();
  update();
}

bool ScreenView::building() const { return partTimer_->isActive(); }

bool ScreenView::startBuild() {
  listsWanted_ = false;
  if (!owner_.store_) return true;
  makeCurrent();
  renderer_.beginLists(*owner_.store_, owner_.viewScale_);
  const bool complete = renderer_.compileMore(owner_.listPart_);
  doneCurrent();
  if (!complete) owner_.buildStarted();
  return complete;
}

void ScreenView::buildPart() {
  if (!ready_) return partTimer_->stop();
  if (listsWanted_) {
    // A store that fits into one part is done at once, without progress.
    if (startBuild()) {
      partTimer_->stop();
      update();
    }
    return;
  }
  makeCurrent();
  const bool complete = renderer_.compileMore(owner_.listPart_);
  doneCurrent();
  if (!complete) {
    emit owner_.listsProgress(static_cast<qint64>(renderer_.compiledElements()), static_cast<qint64>(renderer_.totalElements()));
    return;
  }
  partTimer_->stop();
  update();
  owner_.buildEnded(true);
}

void ScreenView::finishLists() {
  if (!building()) return;
  partTimer_->stop();
  if (listsWanted_ && startBuild()) return;
  makeCurrent();
  while (!renderer_.compileMore(owner_.listPart_)) {
  }
  doneCurrent();
  owner_.buildEnded(true);
}

void ScreenView::releaseLists() {
  partTimer_->stop();
  if (!ready_ || !renderer_.hasLists()) return;
  makeCurrent();
  renderer_.deleteLists();
  doneCurrent();
}

void ScreenView::paintGL() {
  if (!ready_) return;
  const qreal dpr = devicePixelRatioF();
  Viewport vp;
  vp.width = static_cast<int>(width() * dpr);
  vp.height = static_cast<int>(height() * dpr);
  vp.hiddenTop = static_cast<int>(TScrScreen::kPanelHeight * dpr);
  FrameOptions options;
  options.axes = owner_.CheckBox1->isChecked();
  options.colourMode = owner_.CheckBox2->isChecked();
  renderer_.frame(vp, owner_.view_.modelView, options);
}

void ScreenView::resizeEvent(QResizeEvent* e) {
  QOpenGLWidget::resizeEvent(e);
  owner_.resizeHandling(size());
}

void ScreenView::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  owner_.view_.press(e->button() == Qt::LeftButton, p.x(), p.y());
}

void ScreenView::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (owner_.view_.dragTo(p.x(), p.y(), owner_.turnAxis())) owner_.viewChanged();
}

void ScreenView::mouseReleaseEvent(QMouseEvent*) { owner_.view_.release(); }

void ScreenView::wheelEvent(QWheelEvent* e) {
  // Towards the user (down) zooms in, away zooms out: one step per event.
  const int dy = e->angleDelta().y();
  if (dy < 0) owner_.zoomIn();
  else if (dy > 0) owner_.zoomOut();
  e->accept();
}

}  // namespace viewer

bool TScrScreen::listsBuilt() const { return screen_ && screen_->listsComplete(); }

void TScrScreen::buildStarted() {
  reporting_ = true;
  // Escape anywhere in the program ends the build; the key that ended the run (held, repeating)
  // does not count.
  qApp->installEventFilter(this);
  emit listsProgress(0, static_cast<qint64>(store_ ? store_->count() : 0));
}

void TScrScreen::buildEnded(bool complete) {
  if (!reporting_) return;
  reporting_ = false;
  qApp->removeEventFilter(this);
  emit listsEnded(complete);
}

bool TScrScreen::eventFilter(QObject* watched, QEvent* e) {
  if (reporting_ && e->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
      close();  // the close deletes the half-built lists and ends the build
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, e);
}

}  // namespace kubrix
