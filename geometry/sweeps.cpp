// The sweep of a selection through placements, the stepped placements and the face thickness.
#include "geometry/sweeps.h"

#include <cmath>

#include "geometry/chain.h"
#include "geometry/queries.h"
#include "geometry/sweep_orientation.h"
#include "geometry/vec3.h"

namespace kubrix {

void sweepSelection(FigureStore& store, const Selection& sel, const SweepPath& path, const LayerColour& lc) {
  const size_t last = path.steps.size() - 1;
  const std::vector<int32_t> elements = liveSelected(store, sel, store.count());
  const std::vector<Segment> segs = segmentSet(store, sel);
  PenScope pen(store);
  for (int32_t n : elements) {
    const FigureElement e = store.at(static_cast<size_t>(n));
    pen.use(lc, e.layer, e.colour);
    const int k = usedPoints(e.kind);
    if (e.kind == kKindPoint) {
      for (size_t s = 1; s <= last; ++s) store.appendLine(path.steps[s - 1].apply(e.p[0]), path.steps[s].apply(e.p[0]));
      continue;
    }
    Point3 p[4];
    if (path.placedProfile) {
      for (int i = 0; i < k; ++i) p[i] = path.steps[0].apply(e.p[i]);
      if (e.kind == kKindTriangle) std::swap(p[1], p[2]);
      if (e.kind == kKindQuad) std::swap(p[1], p[3]);
      appendElement(store, e.kind, p);
    }
    for (int i = 0; i < k; ++i) p[i] = path.steps[last].apply(e.p[i]);
    appendElement(store, e.kind, p);
  }
  const SweepMotion motion{&path.steps[0], &path.steps[1], path.hasAxis, path.axisBase, path.axisDir};
  const std::vector<uint8_t> flip = outwardOrder(segs, motion, chainTolerance(store, sel));
  for (size_t i = 0; i < segs.size(); ++i) {
    const Segment& s = segs[i];
    const Point3& a = flip[i] ? s.b : s.a;
    const Point3& b = flip[i] ? s.a : s.b;
    pen.use(lc, s.layer, s.colour);
    Point3 a0 = path.steps[0].apply(a), b0 = path.steps[0].apply(b);
    for (size_t k = 1; k <= last; ++k) {
      const Point3 a1 = path.steps[k].apply(a), b1 = path.steps[k].apply(b);
      store.appendQuad(a0, b0, b1, a1);
      a0 = a1;
      b0 = b1;
    }
  }
}

bool tinyVector(const Point3& v) { return std::fabs(v.x) < 1e-12 && std::fabs(v.y) < 1e-12 && std::fabs(v.z) < 1e-12; }

Affine steppedPlacement(const Point3& b, const Point3& v, const Point3& s, double a, int k, int count) {
  const double f = static_cast<double>(k) / count;
  const Point3 scale{1 + k * (s.x - 1) / count, 1 + k * (s.y - 1) / count, 1 + k * (s.z - 1) / count};
  const Point3 moved{b.x + f * v.x, b.y + f * v.y, b.z + f * v.z};
  return Affine::scaling(b, Point3{}, scale)
      .then(Affine::turnAboutLine(Point3{}, v, k * a / count))
      .then(Affine::translation(moved));
}

Affine turningPlacement(const TurningSteps& t, int k, int count) {
  const double f = static_cast<double>(k) / count;
  const double g = 1 + k * (t.s - 1) / count;
  return Affine::scaling(t.b1, t.b1, {g, g, g})
      .then(Affine::turnAboutLine(t.b1, t.d1, k * t.a1 / count))
      .then(Affine::turnAboutLine(t.b2, t.d2, k * t.a2 / count))
      .then(Affine::translation({f * t.d2.x, f * t.d2.y, f * t.d2.z}));
}

void thickenFaces(FigureStore& store, const Selection& sel, double t, const LayerColour& lc) {
  if (!(std::fabs(t) >= 1e-8)) return;
  PenScope pen(store);
  for (int32_t n : liveSelected(store, sel, store.count())) {
    const FigureElement e = store.at(static_cast<size_t>(n));
    if (e.kind != kKindTriangle && e.kind != kKindQuad) continue;
    const int k = usedPoints(e.kind);
    const Point3 nrm = planeNormal(e.p[0], e.p[1], e.p[2]);
    const Point3 v{t * nrm.x, t * nrm.y, t * nrm.z};
    Point3 q[4];
    for (int i = 0; i < k; ++i) q[i] = {e.p[i].x + v.x, e.p[i].y + v.y, e.p[i].z + v.z};
    pen.use(lc, e.layer, e.colour);
    appendElement(store, e.kind, q);
    // A face turning counter-clockwise about its normal, moved along it: (P, Pnext, Pnext', P') faces
    // out of the slab; moved against it, the other order does.
    for (int i = 0; i < k; ++i) {
      const int j = (i + 1) % k;
      if (t > 0)
        store.appendQuad(e.p[i], e.p[j], q[j], q[i]);
      else
        store.appendQuad(e.p[j], e.p[i], q[i], q[j]);
    }
  }
}

}  // namespace kubrix
