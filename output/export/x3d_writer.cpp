// X3D 3.2 (XML): six named viewpoints around the model, then per layer in use a group of its lines
// and a group of its faces (each face as its closed outline), coloured one colour per element.
#include <array>
#include <vector>

#include "output/export/writers.h"

namespace kubrix {

namespace {

enum class Place { Zero, D, MinusD, E };

struct Viewpoint {
  Place x, y, z;
  const char* orientation;
  const char* description;
};

// Positions are in the viewer's Y-up axes; D lies four model sizes away, E one size up.
const Viewpoint kViewpoints[] = {
    {Place::Zero, Place::E, Place::D, "0 1 0 0", "FrontView"},
    {Place::MinusD, Place::E, Place::Zero, "0 1 0 -1.57", "LeftView"},
    {Place::Zero, Place::E, Place::MinusD, "0 1 0 -3.14", "BackView"},
    {Place::D, Place::E, Place::Zero, "0 1 0 1.57", "RightView"},
    {Place::Zero, Place::MinusD, Place::Zero, "1 0 0 1.57", "BottomView"},
    {Place::Zero, Place::D, Place::Zero, "1 0 0 -1.57", "TopView"},
};

constexpr std::string_view kAttributeIndent = "\t\t           ";  // two tabs, eleven spaces

void putPlace(TextWriter& w, Place place, double d, double e) {
  switch (place) {
    case Place::Zero: w.put('0'); break;
    case Place::D: w.fixed(d, 10); break;
    case Place::MinusD: w.fixed(-d, 10); break;
    case Place::E: w.fixed(e, 10); break;
  }
}

void putViewpoints(const ExportContext& context, TextWriter& w) {
  const double d = context.viewScale * 0.004, e = context.viewScale * 0.001;
  for (const Viewpoint& v : kViewpoints) {
    w.put("    <Viewpoint position='");
    putPlace(w, v.x, d, e);
    w.put(' ');
    putPlace(w, v.y, d, e);
    w.put(' ');
    putPlace(w, v.z, d, e);
    w.line("'");
    w.put(kAttributeIndent);
    w.put("orientation='");
    w.put(v.orientation);
    w.line("'");
    w.put(kAttributeIndent);
    w.put("description='");
    w.put(v.description);
    w.line("' />");
  }
  w.crlf();
}

int outlinePoints(const FigureElement& e) { return e.kind == kKindLine ? 2 : e.kind == kKindTriangle ? 3 : 4; }

// One Transform with an IndexedLineSet of the elements (all lines, or all faces as outlines).
void putGroup(const std::vector<const FigureElement*>& elements, bool faces, TextWriter& w) {
  w.line("    <Transform>");
  w.line("      <Shape>");
  w.line("        <IndexedLineSet coordIndex = '");
  long long k = 0;
  for (const FigureElement* e : elements) {
    const int n = outlinePoints(*e);
    w.put("          ");
    for (int i = 0; i < n; ++i) {
      w.integer(k + i);
      w.put(' ');
    }
    if (faces) {
      w.integer(k);  // back to the first corner: the closed outline
      w.put(' ');
    }
    w.line("-1");
    k += n;
  }
  w.line("          '");
  w.line("          colorPerVertex='false'");
  w.put("          colorIndex='");
  const size_t count = elements.size();
  for (size_t i = 0; i < count; ++i) {
    w.integer(static_cast<long long>(i));
    w.put(' ');
    if ((i + 1) % 10 == 0 && i + 1 != count) {
      w.crlf();
      w.put(faces ? std::string_view("            ") : kAttributeIndent.substr(1));
    }
  }
  w.line("' >");
  w.line("          <Coordinate point='");
  for (size_t i = 0; i < count; ++i) {
    const FigureElement& e = *elements[i];
    const int n = outlinePoints(e);
    for (int j = 0; j < n; ++j) {
      w.put("            ");
      putVrmlPoint(w, e.p[static_cast<size_t>(j)]);
      if (i + 1 == count && j + 1 == n) w.put('\'');
      w.crlf();
    }
  }
  w.line("          />");
  w.line("          <Color color='");
  for (size_t i = 0; i < count; ++i) {
    w.put("            ");
    putUnitColour(w, elements[i]->colour);
    if (i + 1 == count) w.put('\'');
    w.crlf();
  }
  w.line("          />");
  w.line("        </IndexedLineSet>");
  w.line("      </Shape>");
  w.line("    </Transform>");
}

// The file name for an attribute in single quotes: lower case, markup characters escaped.
void putAttributeText(TextWriter& w, std::string_view s) {
  for (char c : s) {
    switch (c) {
      case '&': w.put("&amp;"); break;
      case '<': w.put("&lt;"); break;
      case '>': w.put("&gt;"); break;
      case '\'': w.put("&apos;"); break;
      case '"': w.put("&quot;"); break;
      default: w.put((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
    }
  }
}

}  // namespace

void writeX3d(const ExportJob& job, TextWriter& w) {
  const FigureStore::LayerCensus census = job.store.layerCensus();
  std::array<std::vector<const FigureElement*>, 256> linesOf, facesOf;
  for (const FigureElement& e : job.store.elements()) {
    const int layer = exactLayer(e);
    if (!e.live || layer < 0) continue;
    if (e.kind == kKindLine) linesOf[static_cast<size_t>(layer)].push_back(&e);
    if (isFace(e)) facesOf[static_cast<size_t>(layer)].push_back(&e);
  }
  w.line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  w.line("<!DOCTYPE X3D PUBLIC \"ISO//Web3D//DTD X3D 3.2//EN\"");
  w.line("  \"http://www.web3d.org/specifications/x3d-3.2.dtd\">");
  w.crlf();
  w.line("<X3D profile='Immersive'>");
  w.line("  <head>");
  w.put("    <meta name='filename' content='");
  putAttributeText(w, job.fileName);
  w.line("' />");
  w.line("  </head>");
  w.line("  <Scene>");
  w.line("    <Background skyColor='1 1 1' />");
  putViewpoints(job.context, w);
  for (size_t layer = 0; layer <= 255; ++layer) {
    if (census.perLayer[layer] == 0) continue;
    if (!linesOf[layer].empty()) putGroup(linesOf[layer], false, w);
    if (!facesOf[layer].empty()) putGroup(facesOf[layer], true, w);
  }
  w.line("  </Scene>");
  w.line("</X3D>");
}

}  // namespace kubrix
