// The 3D viewer window TScrScreen: the figure store drawn with OpenGL, turned, shifted and zoomed
// with the mouse, four preset views, the picture copied to the clipboard or saved, and the figures
// saved through the export writers. It reads the figure store only; it draws when something changed.
#pragma once

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QOpenGLWidget>
#include <QSize>
#include <functional>
#include <string>

#include "geometry/figure_store.h"
#include "output/export/export.h"
#include "output/render/figure_renderer.h"
#include "output/render/view_state.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QRadioButton;
class QTimer;
class QToolButton;

namespace kubrix {

// Writes the figure store in one of the export formats (kubrix::writeExport has this shape). False
// with a message (UTF-8) in error when the file could not be written.
using ExportWriter = std::function<bool(const FigureStore&, ExportFormat, const std::string& path,
                                        const ExportContext&, std::string& error)>;

// The message boxes, the save dialog and the beep the viewer uses; tests replace them.
struct ViewerUi {
  enum class Icon { None, Question, Warning, Error };
  std::function<void(Icon, const QString&)> message;  // one OK button
  std::function<bool(const QString&)> askYesNo;
  // Shows the save dialog starting in folder; false when cancelled. filterIndex is 0 to 8.
  std::function<bool(const QString& folder, QString& path, int& filterIndex)> chooseSaveFile;
  std::function<void()> beep;
};

namespace viewer {

// A label that steps the zoom on a left press and on every move over it while the left button is held.
class HoldLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void step();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
};

// A status text in room of its own: however long the text grows, the label asks for no more width
// than it was given (a wider window would be resized, which resets the view). A text that does not
// fit ends in "…"; the whole text stays in text() and the tool tip.
class StatusLabel : public QLabel {
  Q_OBJECT
 public:
  explicit StatusLabel(QWidget* parent = nullptr);
  void setStatus(const QString& text);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
};

class ScreenView;

}  // namespace viewer

class TScrScreen : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kPanelHeight = viewer::kPanelHeight;

  explicit TScrScreen(QWidget* parent = nullptr);
  ~TScrScreen() override;

  // Called by the main window after a run when the store holds at least one element: shows the
  // window if needed, computes the view scale, builds both display lists, resets the view and
  // turns to the "X-Y-Z" view with "回転" on "Z". The store must stay unchanged while the viewer is
  // open (the main window closes the viewer before every run).
  //
  // A large store is compiled in parts between other events: listsProgress reports each part,
  // Escape (pressed anywhere in the program) closes the viewer for this run, and listsEnded says
  // how such a build ended. The figures appear once all are compiled. Closing the viewer deletes
  // its lists, so their memory goes back before the next run.
  void openAfterRun(const FigureStore& store);

  // Elements compiled per part of a list build (tests make it small).
  void setListPart(size_t elements) { listPart_ = elements > 0 ? elements : 1; }
  // True when the figure lists are complete; false while a build goes on and after close.
  bool listsBuilt() const;

  void setExportWriter(ExportWriter writer) { writer_ = std::move(writer); }
  ViewerUi& ui() { return ui_; }

  // Starting folder of the save dialog (settings key DAT2); after a save it is the saved file's folder.
  QString saveFolder() const { return saveFolder_; }
  void setSaveFolder(const QString& folder) { saveFolder_ = folder; }

  double viewScale() const { return viewScale_; }
  const viewer::ViewState& viewState() const { return view_; }
  bool openGlReady() const;
  viewer::TurnAxis turnAxis() const;
  void setTurnAxis(viewer::TurnAxis axis);

  // Renders one frame and keeps it as the captured picture (24 bits per pixel, the picture area
  // below the panel). A null image when OpenGL is not available.
  QImage capturePicture();
  const QImage& capturedPicture() const { return captured_; }

  // "コピー(&C)": the picture to the clipboard. "名前を付けて保存(&S)...": the save-as command.
  void copyPicture();
  void saveAs();

 signals:
  // During a build that takes more than one part: elements compiled so far, of total.
  void listsProgress(qint64 done, qint64 total);
  // After a build that reported progress: shown = the figures are complete; false when Escape or
  // closing the window ended it.
  void listsEnded(bool shown);

 public:
  // Components, named as in the window's design.
  QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4;
  QGroupBox* RadioGroup1;
  viewer::HoldLabel *Label1, *Label2;
  QCheckBox *CheckBox1, *CheckBox2;
  viewer::StatusLabel *LabelX, *LabelY, *LabelZ;
  QAction *MnuFileSave, *MnuFileClose, *MnuEditCopy;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  friend class viewer::ScreenView;
  void buildStarted();
  void buildEnded(bool complete);
  void buildUi();
  void createPictureArea();
  void prepareLists();
  void resizeHandling(const QSize& pictureSize);
  void viewChanged();
  void updateLabels();
  void zoomIn();
  void zoomOut();
  bool writeBitmap(const std::string& path);

  ViewerUi ui_;
  ExportWriter writer_;
  const FigureStore* store_ = nullptr;
  double viewScale_ = 1e-8;
  viewer::ViewState view_;
  QImage captured_;
  QString saveFolder_;
  QButtonGroup* turnGroup_ = nullptr;
  QWidget* pictureHolder_ = nullptr;
  viewer::ScreenView* screen_ = nullptr;
  QSize handledSize_;
  size_t listPart_ = 25000;  // about 50 ms of compiling lines with Mesa llvmpipe
  bool reporting_ = false;   // a build in parts is under way and reports its progress
};

namespace viewer {

// The picture area: a QOpenGLWidget that draws the lists of its window's renderer.
class ScreenView : public QOpenGLWidget {
  Q_OBJECT
 public:
  explicit ScreenView(TScrScreen& owner);
  ~ScreenView() override;
  bool ready() const { return ready_; }
  // Builds the lists from the owner's store, in parts, from the next turn of the event loop (or
  // as soon as the context exists) on.
  void requestLists();
  // Compiles whatever is left at once (a picture is to be captured).
  void finishLists();
  // Stops a build and deletes the lists.
  void releaseLists();
  bool building() const;
  bool listsComplete() const { return renderer_.listsComplete(); }

 protected:
  void initializeGL() override;
  void paintGL() override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  // Begins the lists and compiles the first part; true when that was all.
  bool startBuild();
  void buildPart();
  TScrScreen& owner_;
  FigureRenderer renderer_;
  QTimer* partTimer_;
  bool ready_ = false;
  bool listsWanted_ = false;
};

}  // namespace viewer

}  // namespace kubrix
