// The thumbnail renderer TForm5: the figure store drawn without axes into a 128 x 128 picture, and
// nine 64 x 64 8-bit bitmaps of its centre, turned by 45 degrees about Z from one to the next, for
// the distribution script files. It renders off screen; nothing is shown.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "geometry/figure_store.h"
#include "output/render/view_state.h"

namespace kubrix {

class TForm5 {
 public:
  static constexpr int kClientSize = 128;
  static constexpr int kThumbnailCount = 9;

  // message shows "OPENGLが利用出来ません" when no context can be had (default: a message box).
  explicit TForm5(std::function<void(const QString&)> message = {});
  ~TForm5();
  TForm5(const TForm5&) = delete;
  TForm5& operator=(const TForm5&) = delete;

  // Creates the context and the 128 x 128 picture; false (after the message) when OpenGL is missing.
  bool show();
  // View scale, both display lists, the view reset and turned to "X-Y-Z".
  void prepare(const FigureStore& store);
  // Renders one frame of the current view (null when not shown).
  QImage renderFrame();
  // Nine pictures prefix + n + ".bmp" (n = 0 to 8, UTF-8 path); a picture that cannot be saved
  // leaves no file. Returns the number of files written.
  int writeThumbnails(const std::string& prefix);
  // Deletes the lists and releases the context.
  void close();

  const viewer::ViewState& viewState() const { return view_; }

 private:
  struct Gl;
  std::function<void(const QString&)> message_;
  std::unique_ptr<Gl> gl_;
  viewer::ViewState view_;
};

// Show, prepare, write the nine thumbnails and close: what a distribution script file needs.
// Returns the number of files written (0 when OpenGL is missing).
int writeThumbnailFiles(const FigureStore& store, const std::string& prefix,
                        std::function<void(const QString&)> message = {});

}  // namespace kubrix
