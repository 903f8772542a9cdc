// VRML 2.0: one Transform per layer in use that holds lines, with an IndexedLineSet of its lines
// coloured one colour per line. Points and faces are not written.
#include <array>
#include <vector>

#include "output/export/writers.h"

namespace kubrix {

namespace {

const char* const kGroupHead[] = {
    "  translation 0 0 0",
    "  children [",
    "    Shape {",
    "      appearance Appearance {",
    "        material Material {",
    "          diffuseColor 1 1 1",
    "          shininess 0.5",
    "          transparency 0",
    "        }",
    "      }",
    "      geometry IndexedLineSet {",
    "        coord Coordinate {",
    "          point [",
};

const char* const kGroupTail[] = {
    "        ]", "        colorPerVertex FALSE", "      }", "    }", "  ]", "}",
};

void putGroup(int layer, const std::vector<const FigureElement*>& lines, TextWriter& w) {
  w.put("DEF LAY");
  w.integer(layer);
  w.line("L Transform {");
  for (const char* s : kGroupHead) w.line(s);
  const size_t n = lines.size();
  for (size_t i = 0; i < n; ++i) {
    w.put("                  ");
    putVrmlPoint(w, lines[i]->p[0]);
    w.line(" ,");
    w.put("                  ");
    putVrmlPoint(w, lines[i]->p[1]);
    w.line(i + 1 == n ? " ]" : " ,");
  }
  w.line("        }");
  w.line("        coordIndex [ ");
  for (size_t i = 0; i < n; ++i) {
    w.put("          ");
    w.integer(static_cast<long long>(2 * i));
    w.put(' ');
    w.integer(static_cast<long long>(2 * i + 1));
    w.line(" -1 ");
  }
  w.line("        ]");
  w.line("        color Color {");
  w.line("          color [ ");
  for (size_t i = 0; i < n; ++i) {
    w.put("            ");
    putUnitColour(w, lines[i]->colour);
    w.line(i + 1 == n ? " ]" : " ,");
  }
  w.line("        }");
  w.line("        colorIndex [ ");
  for (size_t i = 0; i < n; ++i) {
    w.put("          ");
    w.integer(static_cast<long long>(i));
    w.line(" ");
  }
  for (const char* s : kGroupTail) w.line(s);
}

}  // namespace

void writeVrml(const ExportJob& job, TextWriter& w) {
  const FigureStore::LayerCensus census = job.store.layerCensus();
  std::array<std::vector<const FigureElement*>, 256> linesOf;
  for (const FigureElement& e : job.store.elements()) {
    const int layer = exactLayer(e);
    if (e.live && e.kind == kKindLine && layer >= 0) linesOf[static_cast<size_t>(layer)].push_back(&e);
  }
  w.line("#VRML V2.0 utf8");
  w.crlf();
  for (int layer = 0; layer <= 255; ++layer) {
    const auto& lines = linesOf[static_cast<size_t>(layer)];
    if (census.perLayer[static_cast<size_t>(layer)] != 0 && !lines.empty()) putGroup(layer, lines, w);
  }
}

}  // namespace kubrix
