// COLLADA 1.4.1: the lines of the store, one geometry per layer and colour, with one lambert effect
// and material per colour used by lines and faces, and one scene node per layer in use. A library
// that would have no entry is left out: the schema wants at least one, and readers refuse an empty one.
#include <array>
#include <cstdio>
#include <vector>

#include "output/export/writers.h"

namespace kubrix {

namespace {

// Lines grouped by exact layer (0..255) and colour (1..255), in store order within each group.
struct LineGroups {
  static constexpr size_t kGroups = 256 * 256;  // layer * 256 + colour
  std::vector<const FigureElement*> lines;
  std::vector<uint32_t> start = std::vector<uint32_t>(kGroups + 1);  // group g: lines[start[g], start[g + 1])

  explicit LineGroups(const FigureStore& store) {
    auto groupOf = [](const FigureElement& e) -> int {
      if (!e.live || e.kind != kKindLine || exactLayer(e) < 0 || e.colour < 1 || e.colour > 255) return -1;
      return e.layer * 256 + e.colour;
    };
    std::vector<uint32_t> count(kGroups + 1);
    for (const FigureElement& e : store.elements())
      if (const int g = groupOf(e); g >= 0) ++count[static_cast<size_t>(g) + 1];
    for (size_t g = 1; g < start.size(); ++g) start[g] = start[g - 1] + count[g];
    lines.resize(start.back());
    std::vector<uint32_t> fill = start;
    for (const FigureElement& e : store.elements())
      if (const int g = groupOf(e); g >= 0) lines[fill[static_cast<size_t>(g)]++] = &e;
  }
  size_t size(int layer, int colour) const {
    const size_t g = static_cast<size_t>(layer * 256 + colour);
    return start[g + 1] - start[g];
  }
  const FigureElement* const* begin(int layer, int colour) const {
    return lines.data() + start[static_cast<size_t>(layer * 256 + colour)];
  }
};

void putName(TextWriter& w, int layer, int colour) {
  w.put("layer");
  w.integer(layer);
  w.put("-C");
  w.integer(colour);
}

void putHead(const ExportJob& job, TextWriter& w) {
  w.line("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
  w.line("<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">");
  w.line("<asset>");
  w.line("  <contributor>");
  w.line("    <author>Norvane</author>");
  w.line("    <authoring_tool>Kubrix</authoring_tool>");
  w.line("    <copyright>Norvane All Rights Reserved</copyright>");
  w.line("  </contributor>");
  w.put("  <created>");
  w.put(job.created);
  w.line("</created>");
  w.put("  <modified>");
  w.put(job.modified);
  w.line("</modified>");
  w.line("  <revision>1.0</revision>");
  w.line("  <up_axis>Z_UP</up_axis>");
  w.line("</asset>");
}

void putEffectsAndMaterials(const FigureStore& store, TextWriter& w) {
  const FigureStore::ColourCensus census = store.colourCensus(-1, 13);
  if (census.usedColours == 0) return;
  w.line("<library_effects>");
  for (int n = 1; n <= 255; ++n) {
    if (census.perColour[static_cast<size_t>(n)] == 0) continue;
    w.put("  <effect id=\"ColorID");
    w.integer(n);
    w.line("\">");
    w.line("    <profile_COMMON>");
    w.line("      <technique sid=\"COMMON\">");
    w.line("        <lambert>");
    w.line("          <diffuse>");
    w.put("            <color>");
    putUnitColour(w, n);
    w.line(" 1</color>");
    w.line("          </diffuse>");
    w.line("        </lambert>");
    w.line("      </technique>");
    w.line("    </profile_COMMON>");
    w.line("  </effect>");
  }
  w.line("</library_effects>");
  w.line("<library_materials>");
  for (int n = 1; n <= 255; ++n) {
    if (census.perColour[static_cast<size_t>(n)] == 0) continue;
    w.put("  <material id=\"DefColor");
    w.integer(n);
    w.line("\">");
    w.put("    <instance_effect url=\"#ColorID");
    w.integer(n);
    w.line("\" />");
    w.line("  </material>");
  }
  w.line("</library_materials>");
}

void putGeometry(const LineGroups& groups, int layer, int colour, double scale, TextWriter& w) {
  const size_t c = groups.size(layer, colour);
  const FigureElement* const* lines = groups.begin(layer, colour);
  w.put("  <geometry id=\"");
  putName(w, layer, colour);
  w.put("\" name=\"");
  putName(w, layer, colour);
  w.line("\">");
  w.line("    <mesh>");
  w.put("      <source id=\"");
  putName(w, layer, colour);
  w.line("-Pos\">");
  w.put("        <float_array id=\"");
  putName(w, layer, colour);
  w.put("-Pos-array\" count=\"");
  w.integer(static_cast<long long>(6 * c));
  w.line("\">");
  for (size_t i = 0; i < c; ++i) {
    w.put("          ");
    for (int j = 0; j < 2; ++j) {
      const Point3& p = lines[i]->p[static_cast<size_t>(j)];
      putFixed(w, p.x * scale, 9);
      w.put(' ');
      putFixed(w, p.y * scale, 9);
      w.put(' ');
      putFixed(w, p.z * scale, 9);
      if (j == 0) w.put(' ');
    }
    w.crlf();
  }
  w.line("        </float_array>");
  w.line("        <technique_common>");
  w.put("          <accessor source=\"#");
  putName(w, layer, colour);
  w.put("-Pos-array\" count=\"");
  w.integer(static_cast<long long>(2 * c));
  w.line("\" stride=\"3\">");
  w.line("            <param name=\"X\" type=\"float\" />");
  w.line("            <param name=\"Y\" type=\"float\" />");
  w.line("            <param name=\"Z\" type=\"float\" />");
  w.line("          </accessor>");
  w.line("        </technique_common>");
  w.line("      </source>");
  w.put("      <vertices id=\"");
  putName(w, layer, colour);
  w.line("-Vtx\">");
  w.put("        <input semantic=\"POSITION\" source=\"#");
  putName(w, layer, colour);
  w.line("-Pos\" />");
  w.line("      </vertices>");
  for (size_t i = 0; i < c; ++i) {
    w.put("      <lines count=\"1\" material=\"Color");
    w.integer(colour);
    w.line("\">");
    w.put("        <input offset=\"0\" semantic=\"VERTEX\" source=\"#");
    putName(w, layer, colour);
    w.line("-Vtx\" />");
    w.put("        <p>");
    w.integer(static_cast<long long>(2 * i));
    w.put(' ');
    w.integer(static_cast<long long>(2 * i + 1));
    w.line("</p>");
    w.line("      </lines>");
  }
  w.line("    </mesh>");
  w.line("  </geometry>");
}

void putVisualScene(const FigureStore::LayerCensus& census, const LineGroups& groups, TextWriter& w) {
  w.line("<library_visual_scenes>");
  w.line("  <visual_scene id=\"DefaultScene\">");
  for (int layer = 0; layer <= 255; ++layer) {
    if (census.perLayer[static_cast<size_t>(layer)] == 0) continue;
    w.put("    <node id=\"Layer");
    w.integer(layer);
    w.put("\" name=\"Layer");
    w.integer(layer);
    w.line("\">");
    for (int n = 1; n <= 255; ++n) {
      if (groups.size(layer, n) == 0) continue;
      w.put("      <instance_geometry url=\"#");
      putName(w, layer, n);
      w.line("\">");
      w.line("        <bind_material>");
      w.line("          <technique_common>");
      w.put("            <instance_material symbol=\"Color");
      w.integer(n);
      w.put("\" target=\"#DefColor");
      w.integer(n);
      w.line("\" />");
      w.line("          </technique_common>");
      w.line("        </bind_material>");
      w.line("      </instance_geometry>");
    }
    w.line("    </node>");
  }
  w.line("  </visual_scene>");
  w.line("</library_visual_scenes>");
  w.line("<scene>");
  w.line("  <instance_visual_scene url=\"#DefaultScene\" />");
  w.line("</scene>");
}

}  // namespace

void writeCollada(const ExportJob& job, TextWriter& w) {
  const FigureStore::LayerCensus census = job.store.layerCensus();
  const LineGroups groups(job.store);
  const double scale = job.context.exportScale * 0.001;
  putHead(job, w);
  putEffectsAndMaterials(job.store, w);
  if (!groups.lines.empty()) {
    w.line("<library_geometries>");
    for (int layer = 0; layer <= 255; ++layer) {
      if (census.perLayer[static_cast<size_t>(layer)] == 0) continue;
      for (int n = 1; n <= 255; ++n)
        if (groups.size(layer, n) != 0) putGeometry(groups, layer, n, scale, w);
    }
    w.line("</library_geometries>");
  }
  // A scene needs at least one node: with every element deleted there is none, and no scene.
  if (census.usedLayers != 0) putVisualScene(census, groups, w);
  w.line("</COLLADA>");
}

}  // namespace kubrix
