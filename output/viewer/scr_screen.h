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
  void openAfterRun(const FigureStore& store);

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

  // Components, named as in the window's design.
  QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4;
  QGroupBox* RadioGroup1;
  viewer::HoldLabel *Label1, *Label2;
  QCheckBox *CheckBox1, *CheckBox2;
  QLabel *LabelX, *LabelY, *LabelZ;
  QAction *MnuFileSave, *MnuFileClose, *MnuEditCopy;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  friend class viewer::ScreenView;
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
};

namespace viewer {

// The picture area: a QOpenGLWidget that draws the lists of its window's renderer.
class ScreenView : public QOpenGLWidget {
  Q_OBJECT
 public:
  explicit ScreenView(TScrScreen& owner);
  ~ScreenView() override;
  bool ready() const { return ready_; }
  // The lists are built before the next frame (a show and an open after a run both ask, and the
  // store does not change in between).
  void requestLists();

 protected:
  void initializeGL() override;
  void paintGL() override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  void buildLists();
  TScrScreen& owner_;
  FigureRenderer renderer_;
  bool ready_ = false;
  bool listsWanted_ = false;
};

}  // namespace viewer

}  // namespace kubrix
