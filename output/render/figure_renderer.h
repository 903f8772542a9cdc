// Fixed-function OpenGL drawing of the figure store, shared by the viewer and the thumbnail
// renderer: display lists (axes, figures, the normal of lines), the light, the projection and one
// frame. Every call needs a current compatibility-profile context; nothing here owns a context.
#pragma once

#include <cstddef>
#include <vector>

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
  // The same build in parts, so that a large store can be compiled between other work (progress,
  // a key that cancels): beginLists compiles the axes; each compileMore compiles up to `elements`
  // more elements of the store and returns true once the figure list is complete. The store must
  // stay unchanged until then.
  bool beginLists(const FigureStore& store, double viewScale);
  bool compileMore(size_t elements);
  size_t compiledElements() const { return compiled_; }
  size_t totalElements() const { return total_; }
  bool listsComplete() const { return complete_; }
  // Deletes the lists, built or half built (with the context that built them current).
  void deleteLists();
  bool hasLists() const { return base_ != 0; }

  // Light, projection, viewport and model view, then the frame itself: white background, the axes
  // list when asked, the figure list. Leaves the picture in the current draw buffer.
  void frame(const Viewport& viewport, const Mat4& modelView, const FrameOptions& options) const;

  // Number of figure elements the last build put into the list (degenerate faces left out).
  size_t drawnElements() const { return drawn_; }

 private:
  // base_: axes, base_ + 1: figures (calling the parts), base_ + 2: the normal of lines and points
  // (set per frame); parts_: the figures in store order, one list per compileMore.
  static constexpr int kLists = 3;
  static constexpr size_t kDefaultPart = 1 << 20;
  unsigned base_ = 0;
  std::vector<unsigned> parts_;
  const PlainBuffer<FigureElement>* elements_ = nullptr;
  double viewScale_ = 1;
  size_t compiled_ = 0, total_ = 0;
  bool complete_ = false;
  size_t drawn_ = 0;
};

}  // namespace kubrix::viewer
