// ASCII STL: one facet per triangle face and two per quad face (split along P1-P3), each with the
// unit normal of its corners by the right-hand rule (fifteen decimals); coordinates in shortest
// round-trip form.
#include <cmath>

#include "output/export/parallel_format.h"
#include "output/export/writers.h"

namespace kubrix {

namespace {

void putTriple(TextWriter& w, double x, double y, double z) {
  w.shortest(x);
  w.put(' ');
  w.shortest(y);
  w.put(' ');
  w.shortest(z);
  w.crlf();
}

void putFacet(TextWriter& w, const Point3& a, const Point3& b, const Point3& c) {
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
  double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (length > 0 && std::isfinite(length)) {
    nx /= length, ny /= length, nz /= length;
  } else {
    nx = ny = nz = 0;  // a flat (collinear) face has no direction
  }
  // The normal only gives a direction: fifteen decimals are plenty and cost far less to write
  // than the shortest exact text.
  w.put("facet normal ");
  w.unitFixed(nx);
  w.put(' ');
  w.unitFixed(ny);
  w.put(' ');
  w.unitFixed(nz);
  w.crlf();
  w.put("  outer loop\r\n");
  for (const Point3* p : {&a, &b, &c}) {
    w.put("    vertex ");
    putTriple(w, p->x, p->y, p->z);
  }
  w.put("  endloop\r\nendfacet\r\n");
}

}  // namespace

void writeStl(const ExportJob& job, TextWriter& w) {
  w.put("solid ");
  w.line(job.fileName);
  const auto& elements = job.store.elements();
  // Number formatting is nearly all of the time, so large stores are formatted on every core.
  formatInOrder(elements.size(), 4096, [&elements](TextWriter& out, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
      const FigureElement& e = elements[i];
      if (!e.live) continue;
      if (!out.ok()) return;  // the file is lost anyway: stop formatting
      if (e.kind == kKindTriangle) {
        putFacet(out, e.p[0], e.p[1], e.p[2]);
      } else if (e.kind == kKindQuad) {
        putFacet(out, e.p[0], e.p[1], e.p[2]);
        putFacet(out, e.p[0], e.p[2], e.p[3]);
      }
    }
  }, w);
  w.put("endsolid ");
  w.line(job.fileName);
}

}  // namespace kubrix
