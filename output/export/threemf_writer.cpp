// 3MF: the faces of each layer as one lib3mf mesh object with a colour per triangle, which lib3mf
// writes as a colour group; the package is written into memory.
#include <Model/COM/NMR_DLLInterfaces.h>

#include <cstring>
#include <unordered_map>
#include <vector>

#include "geometry/palette.h"
#include "output/export/model_writers.h"

namespace kubrix {

namespace {

// Releases a lib3mf object at the end of its scope.
template <typename T>
struct Held {
  T* p = nullptr;
  ~Held() {
    if (p) NMR::lib3mf_release(p);
  }
};

std::string lastError(NMR::PLib3MFBase* from) {
  DWORD code = 0;
  LPCSTR text = nullptr;
  NMR::lib3mf_getlasterror(from, &code, &text);
  return text && *text ? std::string("lib3mf: ") + text : std::string("lib3mf failed");
}

struct VertexKey {
  float x, y, z;
  bool operator==(const VertexKey& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};
struct VertexHash {
  size_t operator()(const VertexKey& k) const {
    uint32_t w[3];
    std::memcpy(w, &k, sizeof w);
    uint64_t h = w[0] * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 29) + w[1] * 0xBF58476D1CE4E5B9ull;
    h ^= (h >> 31) + w[2] * 0x94D049BB133111EBull;
    return static_cast<size_t>(h ^ (h >> 32));
  }
};

// One layer's faces: shared vertices, triangles and their colours.
struct LayerMesh {
  std::vector<NMR::MODELMESHVERTEX> vertices;
  std::vector<NMR::MODELMESHTRIANGLE> triangles;
  std::vector<int> colours;
  std::unordered_map<VertexKey, DWORD, VertexHash> index;

  DWORD vertex(const Point3& p) {
    // -0 and 0 are the same place.
    const VertexKey k{static_cast<float>(p.x) + 0.0f, static_cast<float>(p.y) + 0.0f, static_cast<float>(p.z) + 0.0f};
    const auto [it, added] = index.try_emplace(k, static_cast<DWORD>(vertices.size()));
    if (added) vertices.push_back(NMR::MODELMESHVERTEX{{k.x, k.y, k.z}});
    return it->second;
  }
  void add(const FigureElement& e) {
    for (int t = 0; t < model::triangleCount(e); ++t) {
      const auto& corners = model::kFaceTriangles[static_cast<size_t>(t)];
      NMR::MODELMESHTRIANGLE tri{{vertex(e.p[corners[0]]), vertex(e.p[corners[1]]), vertex(e.p[corners[2]])}};
      // A triangle with two corners at one point has no area, and 3MF forbids it.
      const DWORD* v = tri.m_nIndices;
      if (v[0] == v[1] || v[1] == v[2] || v[0] == v[2]) continue;
      triangles.push_back(tri);
      colours.push_back(model::colourOf(e));
    }
  }
};

// The most frequent colour of a mesh: the object's default colour, which 3MF requires beside
// colours per triangle.
int commonColour(const std::vector<int>& colours) {
  std::vector<int> counts(256, 0);
  for (int c : colours) ++counts[static_cast<size_t>(c)];
  int best = colours.front();
  for (int c = 0; c < 256; ++c)
    if (counts[static_cast<size_t>(c)] > counts[static_cast<size_t>(best)]) best = c;
  return best;
}

bool addLayer(NMR::PLib3MFModel* model, int layer, LayerMesh& mesh, std::string& error) {
  Held<NMR::PLib3MFModelMeshObject> object;
  if (NMR::lib3mf_model_addmeshobject(model, &object.p) != 0) return error = lastError(model), false;
  const std::string name = "Layer " + std::to_string(layer);
  if (NMR::lib3mf_object_setnameutf8(object.p, name.c_str()) != 0 ||
      NMR::lib3mf_meshobject_setgeometry(object.p, mesh.vertices.data(), static_cast<DWORD>(mesh.vertices.size()),
                                         mesh.triangles.data(), static_cast<DWORD>(mesh.triangles.size())) != 0)
    return error = lastError(object.p), false;
  Held<NMR::PLib3MFPropertyHandler> properties;
  if (NMR::lib3mf_meshobject_createpropertyhandler(object.p, &properties.p) != 0)
    return error = lastError(object.p), false;
  for (size_t t = 0; t < mesh.colours.size(); ++t) {
    const Rgb c = paletteColour(mesh.colours[t]);
    if (NMR::lib3mf_propertyhandler_setsinglecolorrgb(properties.p, static_cast<DWORD>(t), c.r, c.g, c.b) != 0)
      return error = lastError(properties.p), false;
  }
  Held<NMR::PLib3MFDefaultPropertyHandler> defaults;
  const Rgb c = paletteColour(commonColour(mesh.colours));
  if (NMR::lib3mf_object_createdefaultpropertyhandler(object.p, &defaults.p) != 0 ||
      NMR::lib3mf_defaultpropertyhandler_setcolorrgb(defaults.p, c.r, c.g, c.b) != 0)
    return error = lastError(object.p), false;
  Held<NMR::PLib3MFModelBuildItem> item;
  if (NMR::lib3mf_model_addbuilditem(model, object.p, nullptr, &item.p) != 0) return error = lastError(model), false;
  return true;
}

}  // namespace

bool threeMfBytes(const FigureStore& store, std::string& bytes, std::string& error) {
  std::vector<LayerMesh> layers(256);
  bool anyFace = false;
  for (const FigureElement& e : store.elements()) {
    if (!e.live || model::triangleCount(e) == 0 || !model::writable(e)) continue;
    LayerMesh& mesh = layers[static_cast<size_t>(model::layerOf(e))];
    mesh.add(e);
    anyFace = anyFace || !mesh.triangles.empty();
  }
  if (!anyFace) {
    error = kThreeMfNoFacesMessage;
    return false;
  }
  Held<NMR::PLib3MFModel> model;
  if (NMR::lib3mf_createmodel(&model.p) != 0) {
    error = "lib3mf cannot make a model";
    return false;
  }
  for (int layer = 0; layer < 256; ++layer) {
    LayerMesh& mesh = layers[static_cast<size_t>(layer)];
    if (mesh.triangles.empty()) continue;
    if (!addLayer(model.p, layer, mesh, error)) return false;
    mesh = LayerMesh{};  // lib3mf holds its own copy
  }
  Held<NMR::PLib3MFModelWriter> writer;
  if (NMR::lib3mf_model_querywriter(model.p, "3mf", &writer.p) != 0) return error = lastError(model.p), false;
  ULONG64 size = 0;
  if (NMR::lib3mf_writer_getstreamsize(writer.p, &size) != 0) return error = lastError(writer.p), false;
  bytes.resize(static_cast<size_t>(size));
  if (NMR::lib3mf_writer_writetobuffer(writer.p, reinterpret_cast<BYTE*>(bytes.data()), size) != 0)
    return error = lastError(writer.p), false;
  return true;
}

}  // namespace kubrix
