// Fixed-function OpenGL drawing of the figure store, shared by the viewer and the thumbnail
// renderer: two display lists (axes, figures), the light, the projection and one frame. Every call
// needs a current compatibility-profile context; nothing here owns a context.
#pragma once

#include <cstddef>

#include "geometry/figure_store.h"
#include "output/render/view_state.h"

namespace kubrix::viewer {

struct FrameOptions {
  bool axes = true;          // call the axes list ("軸表示")
  bool colourMode = false;   // element colours drive ambient and diffuse light ("カラー")
};

// The picture area: width and height of the framebuffer in pixels, and how many pixels of the
// client area lie above it (the viewer's top panel covers them; the projection still spans them).
struct Viewport {
  int width = 1, height = 1;
  int hiddenTop = 0;
};

// The height of the viewer's top panel, which covers the top of its client area.
inline constexpr int kPanelHeight = 41;

class FigureRenderer {
 public:
  FigureRenderer() = default;
  FigureRenderer(const FigureRenderer&) = delete;
  FigureRenderer& operator=(const FigureRenderer&) = delete;

  // Compiles the axes list and the figure list of the live elements, coordinates divided by
  // viewScale. Lists of an earlier build are deleted first. False when no list names were free.
  bool buildLists(const FigureStore& store, double viewScale);
  // Deletes the lists (with the context that built them current).
  void deleteLists();
  bool hasLists() const { return base_ != 0; }

  // Light, projection, viewport and model view, then the frame itself: white background, the axes
  // list when asked, the figure list. Leaves the picture in the current draw buffer.
  void frame(const Viewport& viewport, const Mat4& modelView, const FrameOptions& options) const;

  // Number of figure elements the last build put into the list (degenerate faces left out).
  size_t drawnElements() const { return drawn_; }

 private:
  unsigned base_ = 0;
  size_t drawn_ = 0;
};

}  // namespace kubrix::viewer
