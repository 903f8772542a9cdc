// The view scale over all point slots of the live elements.
#include "output/render/view_scale.h"

#include <cmath>

namespace kubrix::viewer {

double computeViewScale(const FigureStore& store) {
  double scale = 1e-8;
  for (const FigureElement& e : store.elements()) {
    if (!e.live) continue;
    for (const Point3& p : e.p) {
      for (double v : {p.x, p.y, p.z}) {
        // An infinite or undefined coordinate would shrink every other figure to the origin.
        const double a = std::fabs(v);
        if (a > scale && std::isfinite(a)) scale = a;
      }
    }
  }
  return scale;
}

}  // namespace kubrix::viewer
