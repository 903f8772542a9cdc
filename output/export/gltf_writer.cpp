// glTF 2.0 binary: the figure store gathered per layer, kind and colour into one vertex buffer,
// described with tinygltf's model and written by its GLB writer.
#include <tiny_gltf.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

#include "geometry/palette.h"
#include "output/export/model_writers.h"
#include "output/export/writers.h"

namespace kubrix {

namespace model {

bool writable(const FigureElement& e) {
  const int n = pointCount(e);
  if (n == 0) return false;
  constexpr double kFloatMax = std::numeric_limits<float>::max();
  for (int i = 0; i < n; ++i)
    for (double v : {e.p[i].x, e.p[i].y, e.p[i].z})
      if (!(std::fabs(v) <= kFloatMax)) return false;
  return true;
}

}  // namespace model

namespace {

// The three primitive kinds in the order a layer's mesh lists them.
enum Kind { kFaces = 0, kLines = 1, kPoints = 2, kKinds = 3 };
constexpr int kModes[kKinds] = {TINYGLTF_MODE_TRIANGLES, TINYGLTF_MODE_LINE, TINYGLTF_MODE_POINTS};
constexpr int kColours = 256;  // colour 0 stands for every index outside 1..255 (grey)

int kindOf(const FigureElement& e) {
  return e.kind == kKindLine ? kLines : e.kind == kKindPoint ? kPoints : kFaces;
}

// One primitive: the vertices of one layer, kind and colour.
struct Group {
  size_t vertices = 0;
  size_t first = 0;  // first vertex in the buffer
  size_t filled = 0;
  float min[3], max[3];
};

size_t groupKey(int layer, int kind, int colour) {
  return (static_cast<size_t>(layer) * kKinds + static_cast<size_t>(kind)) * kColours + static_cast<size_t>(colour);
}

size_t verticesOf(const FigureElement& e) {
  return e.kind == kKindQuad ? 6 : static_cast<size_t>(pointCount(e));
}

// The sRGB palette component as the linear factor glTF materials take, so that a viewer shows the
// palette colour itself.
double linearComponent(int c) {
  const double s = c / 255.0;
  return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

}  // namespace

bool writeGlb(const FigureStore& store, std::ostream& out, std::string& error) {
  // Pass 1: vertex counts per group, so that every group gets one contiguous run of the buffer.
  std::vector<Group> groups(256 * kKinds * kColours);
  for (const FigureElement& e : store.elements())
    if (e.live && model::writable(e))
      groups[groupKey(model::layerOf(e), kindOf(e), model::colourOf(e))].vertices += verticesOf(e);
  size_t total = 0;
  for (Group& g : groups) {
    g.first = total;
    total += g.vertices;
    for (int i = 0; i < 3; ++i) g.min[i] = std::numeric_limits<float>::max(), g.max[i] = -g.min[i];
  }

  tinygltf::Model m;
  m.asset.version = "2.0";
  m.asset.generator = "Kubrix";
  tinygltf::Buffer& buffer = m.buffers.emplace_back();
  buffer.data.resize(total * 3 * sizeof(float));
  auto* data = reinterpret_cast<float*>(buffer.data.data());

  // Pass 2: the vertices, Z up turned to Y up.
  auto put = [&](Group& g, const Point3& p) {
    const float v[3] = {static_cast<float>(p.x), static_cast<float>(p.z), -static_cast<float>(p.y)};
    float* at = data + (g.first + g.filled++) * 3;
    for (int i = 0; i < 3; ++i) {
      at[i] = v[i] + 0.0f;  // no negative zero
      g.min[i] = std::min(g.min[i], at[i]);
      g.max[i] = std::max(g.max[i], at[i]);
    }
  };
  for (const FigureElement& e : store.elements()) {
    if (!e.live || !model::writable(e)) continue;
    Group& g = groups[groupKey(model::layerOf(e), kindOf(e), model::colourOf(e))];
    if (kindOf(e) == kFaces) {
      for (int t = 0; t < model::triangleCount(e); ++t)
        for (int i : model::kFaceTriangles[static_cast<size_t>(t)]) put(g, e.p[i]);
    } else {
      for (int i = 0; i < pointCount(e); ++i) put(g, e.p[i]);
    }
  }

  tinygltf::BufferView& view = m.bufferViews.emplace_back();
  view.buffer = 0;
  view.byteLength = buffer.data.size();
  view.byteStride = 3 * sizeof(float);  // the accessors of all primitives share the view
  view.target = TINYGLTF_TARGET_ARRAY_BUFFER;

  std::vector<int> materialOf(kColours, -1);
  auto material = [&](int colour) {
    if (materialOf[static_cast<size_t>(colour)] < 0) {
      const Rgb c = paletteColour(colour);
      tinygltf::Material& mat = m.materials.emplace_back();
      mat.name = "Color" + std::to_string(colour);
      mat.pbrMetallicRoughness.baseColorFactor = {linearComponent(c.r), linearComponent(c.g), linearComponent(c.b), 1.0};
      mat.pbrMetallicRoughness.metallicFactor = 0.0;
      mat.pbrMetallicRoughness.roughnessFactor = 1.0;
      mat.doubleSided = true;  // the viewer lights both sides of a face
      materialOf[static_cast<size_t>(colour)] = static_cast<int>(m.materials.size()) - 1;
    }
    return materialOf[static_cast<size_t>(colour)];
  };

  tinygltf::Scene& scene = m.scenes.emplace_back();
  for (int layer = 0; layer < 256; ++layer) {
    tinygltf::Mesh mesh;
    for (int kind = 0; kind < kKinds; ++kind)
      for (int colour = 0; colour < kColours; ++colour) {
        const Group& g = groups[groupKey(layer, kind, colour)];
        if (g.vertices == 0) continue;
        tinygltf::Accessor& a = m.accessors.emplace_back();
        a.bufferView = 0;
        a.byteOffset = g.first * 3 * sizeof(float);
        a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        a.type = TINYGLTF_TYPE_VEC3;
        a.count = g.vertices;
        a.minValues.assign(g.min, g.min + 3);
        a.maxValues.assign(g.max, g.max + 3);
        tinygltf::Primitive& p = mesh.primitives.emplace_back();
        p.attributes["POSITION"] = static_cast<int>(m.accessors.size()) - 1;
        p.mode = kModes[kind];
        p.material = material(colour);
      }
    if (mesh.primitives.empty()) continue;
    mesh.name = "Layer " + std::to_string(layer);
    m.meshes.push_back(std::move(mesh));
    tinygltf::Node& node = m.nodes.emplace_back();
    node.name = "Layer " + std::to_string(layer);
    node.mesh = static_cast<int>(m.meshes.size()) - 1;
    scene.nodes.push_back(static_cast<int>(m.nodes.size()) - 1);
  }
  m.defaultScene = 0;
  if (total == 0) {
    // A glTF buffer may not be empty: a store of nothing writable is a scene without nodes.
    m.buffers.clear();
    m.bufferViews.clear();
  }

  tinygltf::TinyGLTF writer;
  if (!writer.WriteGltfSceneToStream(&m, out, false, true)) {
    error = "the glTF writer failed";
    return false;
  }
  return true;
}

bool glbBytes(const FigureStore& store, std::string& bytes, std::string& error) {
  std::ostringstream stream;
  if (!writeGlb(store, stream, error)) return false;
  bytes = std::move(stream).str();
  return true;
}

}  // namespace kubrix
