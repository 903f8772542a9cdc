// The model formats read back by the libraries that wrote them: .glb through tinygltf's loader and
// .3mf through lib3mf's reader: layers, kinds, counts, colours, the turn to Y up, and what is left out.
#include <Model/COM/NMR_DLLInterfaces.h>
#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <cmath>
#include <limits>
#include <map>

#include "geometry/palette.h"
#include "output/export/model_writers.h"
#include "tests/export/export_test_support.h"

namespace kubrix::exporttest {
namespace {

// Faces, lines and points on layers 0 and 2, a layer and a colour out of range, a deleted face and
// a face with an undefined coordinate.
FigureStore mixedStore() {
  FigureStore s;
  addQuad(s, {0, 0, 0}, {10, 0, 0}, {10, 20, 0}, {0, 20, 0}, 0, 1);
  addTriangle(s, {0, 0, 5}, {1, 0, 5}, {0, 1, 5}, 0, 1);
  addLine(s, {-1, -2, -3}, {4, 5, 6}, 0, 3);
  addPoint(s, {7, 8, 9}, 2, 5);
  addTriangle(s, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, 300, 0);  // layer 0, grey
  addTriangle(s, {5, 5, 5}, {6, 5, 5}, {5, 6, 5}, 2, 7);
  s.at(s.count()).live = false;
  addTriangle(s, {5, 5, 5}, {6, 5, 5}, {5, 6, 5}, 2, 7);
  s.at(s.count()).p[1].x = std::numeric_limits<double>::quiet_NaN();
  return s;
}

tinygltf::Model loadGlb(const std::string& bytes) {
  tinygltf::Model m;
  tinygltf::TinyGLTF loader;
  std::string err, warn;
  EXPECT_TRUE(loader.LoadBinaryFromMemory(&m, &err, &warn, reinterpret_cast<const unsigned char*>(bytes.data()),
                                          static_cast<unsigned>(bytes.size())))
      << err;
  EXPECT_EQ(warn, "");
  return m;
}

const float* positions(const tinygltf::Model& m, int accessor) {
  const tinygltf::Accessor& a = m.accessors[static_cast<size_t>(accessor)];
  const tinygltf::BufferView& v = m.bufferViews[static_cast<size_t>(a.bufferView)];
  return reinterpret_cast<const float*>(m.buffers[static_cast<size_t>(v.buffer)].data.data() + v.byteOffset +
                                        a.byteOffset);
}

// The palette byte of a linear material factor.
int srgbByte(double linear) {
  const double s = linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
  return static_cast<int>(std::lround(s * 255));
}

TEST(ModelFormats, GlbHasANodePerLayerAndAPrimitivePerKindAndColour) {
  std::string bytes, error;
  ASSERT_TRUE(glbBytes(mixedStore(), bytes, error)) << error;
  ASSERT_EQ(bytes.substr(0, 4), "glTF");
  const tinygltf::Model m = loadGlb(bytes);
  ASSERT_EQ(m.scenes.size(), 1u);
  ASSERT_EQ(m.nodes.size(), 2u);
  EXPECT_EQ(m.nodes[0].name, "Layer 0");
  EXPECT_EQ(m.nodes[1].name, "Layer 2");

  struct Prim {
    int mode;
    std::string material;
    size_t vertices;
  };
  auto prims = [&](size_t node) {
    std::vector<Prim> out;
    for (const auto& p : m.meshes[static_cast<size_t>(m.nodes[node].mesh)].primitives)
      out.push_back({p.mode, m.materials[static_cast<size_t>(p.material)].name,
                     m.accessors[static_cast<size_t>(p.attributes.at("POSITION"))].count});
    return out;
  };
  // Layer 0: the grey face (colour 0) before colour 1's quad (two triangles) and triangle, then the line.
  const std::vector<Prim> layer0 = prims(0);
  ASSERT_EQ(layer0.size(), 3u);
  EXPECT_EQ(layer0[0].mode, TINYGLTF_MODE_TRIANGLES);
  EXPECT_EQ(layer0[0].material, "Color0");
  EXPECT_EQ(layer0[0].vertices, 3u);
  EXPECT_EQ(layer0[1].mode, TINYGLTF_MODE_TRIANGLES);
  EXPECT_EQ(layer0[1].material, "Color1");
  EXPECT_EQ(layer0[1].vertices, 9u);
  EXPECT_EQ(layer0[2].mode, TINYGLTF_MODE_LINE);
  EXPECT_EQ(layer0[2].material, "Color3");
  EXPECT_EQ(layer0[2].vertices, 2u);
  // Layer 2: only the point; the deleted face and the undefined one are left out.
  const std::vector<Prim> layer2 = prims(1);
  ASSERT_EQ(layer2.size(), 1u);
  EXPECT_EQ(layer2[0].mode, TINYGLTF_MODE_POINTS);
  EXPECT_EQ(layer2[0].material, "Color5");

  // Materials: the palette colour (grey for an index out of range), matte, both sides.
  ASSERT_EQ(m.materials.size(), 4u);
  for (const tinygltf::Material& mat : m.materials) {
    const int index = std::stoi(mat.name.substr(5));
    const Rgb want = paletteColour(index);
    const auto& f = mat.pbrMetallicRoughness.baseColorFactor;
    EXPECT_EQ(srgbByte(f[0]), want.r) << mat.name;
    EXPECT_EQ(srgbByte(f[1]), want.g) << mat.name;
    EXPECT_EQ(srgbByte(f[2]), want.b) << mat.name;
    EXPECT_EQ(mat.pbrMetallicRoughness.metallicFactor, 0.0);
    EXPECT_TRUE(mat.doubleSided);
  }
  EXPECT_EQ(m.materials[0].name, "Color0");  // first used: the grey face of layer 0
  EXPECT_EQ(srgbByte(m.materials[0].pbrMetallicRoughness.baseColorFactor[0]), 136);

  // Z up turned to Y up: (x, y, z) -> (x, z, -y); the quad split along P1-P3.
  const auto& quadPrim = m.meshes[0].primitives[1];
  const float* q = positions(m, quadPrim.attributes.at("POSITION"));
  const float want[6][3] = {{0, 0, 0}, {10, 0, 0}, {10, 0, -20}, {0, 0, 0}, {10, 0, -20}, {0, 0, -20}};
  for (int v = 0; v < 6; ++v)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(q[v * 3 + c], want[v][c]) << v << "," << c;
  const float* line = positions(m, m.meshes[0].primitives[2].attributes.at("POSITION"));
  EXPECT_EQ(std::vector<float>(line, line + 6), (std::vector<float>{-1, -3, 2, 4, 6, -5}));
  const tinygltf::Accessor& la = m.accessors[static_cast<size_t>(m.meshes[0].primitives[2].attributes.at("POSITION"))];
  EXPECT_EQ(la.minValues, (std::vector<double>{-1, -3, -5}));
  EXPECT_EQ(la.maxValues, (std::vector<double>{4, 6, 2}));
}

struct Mesh3mf {
  std::string name;
  std::vector<NMR::MODELMESHVERTEX> vertices;
  std::vector<NMR::MODELMESHTRIANGLE> triangles;
  std::vector<Rgb> colours;
};

std::vector<Mesh3mf> read3mf(std::string bytes) {
  std::vector<Mesh3mf> out;
  NMR::PLib3MFModel* model = nullptr;
  EXPECT_EQ(NMR::lib3mf_createmodel(&model), 0);
  NMR::PLib3MFModelReader* reader = nullptr;
  EXPECT_EQ(NMR::lib3mf_model_queryreader(model, "3mf", &reader), 0);
  EXPECT_EQ(NMR::lib3mf_reader_readfrombuffer(reader, reinterpret_cast<BYTE*>(bytes.data()), bytes.size()), 0);
  NMR::PLib3MFModelResourceIterator* it = nullptr;
  EXPECT_EQ(NMR::lib3mf_model_getmeshobjects(model, &it), 0);
  BOOL more = false;
  while (NMR::lib3mf_resourceiterator_movenext(it, &more) == 0 && more) {
    NMR::PLib3MFModelResource* res = nullptr;
    NMR::lib3mf_resourceiterator_getcurrent(it, &res);
    Mesh3mf mesh;
    char name[64] = {};
    ULONG needed = 0;
    NMR::lib3mf_object_getnameutf8(res, name, sizeof name, &needed);
    mesh.name = name;
    DWORD nv = 0, nt = 0;
    NMR::lib3mf_meshobject_getvertexcount(res, &nv);
    NMR::lib3mf_meshobject_gettrianglecount(res, &nt);
    mesh.vertices.resize(nv);
    mesh.triangles.resize(nt);
    NMR::lib3mf_meshobject_getvertices(res, mesh.vertices.data(), nv, nullptr);
    NMR::lib3mf_meshobject_gettriangleindices(res, mesh.triangles.data(), nt, nullptr);
    NMR::PLib3MFPropertyHandler* props = nullptr;
    NMR::lib3mf_meshobject_createpropertyhandler(res, &props);
    for (DWORD t = 0; t < nt; ++t) {
      NMR::MODELMESH_TRIANGLECOLOR_SRGB c{};
      EXPECT_EQ(NMR::lib3mf_propertyhandler_getcolor(props, t, &c), 0);
      EXPECT_EQ(c.m_Colors[0].m_Red, c.m_Colors[2].m_Red);  // one colour per face
      mesh.colours.push_back(Rgb{c.m_Colors[0].m_Red, c.m_Colors[0].m_Green, c.m_Colors[0].m_Blue});
    }
    NMR::lib3mf_release(props);
    NMR::lib3mf_release(res);
    out.push_back(std::move(mesh));
  }
  NMR::lib3mf_release(it);
  NMR::lib3mf_release(reader);
  NMR::lib3mf_release(model);
  return out;
}

TEST(ModelFormats, ThreeMfHasTheFacesOfEachLayerWithTheirColours) {
  std::string bytes, error;
  ASSERT_TRUE(threeMfBytes(mixedStore(), bytes, error)) << error;
  ASSERT_EQ(bytes.substr(0, 2), "PK");  // a zip package
  const std::vector<Mesh3mf> meshes = read3mf(bytes);
  // Layer 2 holds only a point, a deleted face and an undefined one: no mesh.
  ASSERT_EQ(meshes.size(), 1u);
  const Mesh3mf& m = meshes[0];
  EXPECT_EQ(m.name, "Layer 0");
  ASSERT_EQ(m.triangles.size(), 4u);  // the quad's two, the triangle, the grey face of layer 300
  EXPECT_EQ(m.vertices.size(), 4u + 3u + 3u);  // the quad's corners shared by its two triangles
  const Rgb red = paletteColour(1), grey{136, 136, 136};
  EXPECT_EQ(m.colours, (std::vector<Rgb>{red, red, red, grey}));
  // Millimetres as given, Z up as in the model.
  const auto& t = m.triangles[1].m_nIndices;
  const NMR::MODELMESHVERTEX& c = m.vertices[t[2]];
  EXPECT_EQ(std::vector<float>(c.m_fPosition, c.m_fPosition + 3), (std::vector<float>{0, 20, 0}));
}

TEST(ModelFormats, ThreeMfOfLinesAndPointsOnlyIsRefused) {
  FigureStore s;
  addLine(s, {0, 0, 0}, {1, 1, 1});
  addPoint(s, {2, 2, 2});
  std::string bytes, error;
  EXPECT_FALSE(threeMfBytes(s, bytes, error));
  EXPECT_EQ(error, kThreeMfNoFacesMessage);
  // The glb of the same store is fine: lines and points are glTF primitives.
  EXPECT_TRUE(glbBytes(s, bytes, error));
}

TEST(ModelFormats, WriteExportReplacesTheFileOnlyWhenTheModelIsComplete) {
  ScratchDir dir;
  FigureStore s;
  addTriangle(s, {0, 0, 0}, {1, 0, 0}, {0, 1, 0});
  std::string error;
  ASSERT_TRUE(writeExport(s, ExportFormat::Glb, dir.file("m.glb"), contextFor(s), error)) << error;
  ASSERT_TRUE(writeExport(s, ExportFormat::ThreeMf, dir.file("m.3mf"), contextFor(s), error)) << error;
  EXPECT_EQ(readFile(dir.path() / "m.glb"), exportText(s, ExportFormat::Glb, "m.glb", contextFor(s)));
  EXPECT_EQ(read3mf(readFile(dir.path() / "m.3mf")).size(), 1u);
  // A store without faces cannot replace an earlier 3MF file; a Japanese name is fine.
  FigureStore lines;
  addLine(lines, {0, 0, 0}, {1, 1, 1});
  writeFile(dir.path() / "模型.3mf", "earlier");
  EXPECT_FALSE(writeExport(lines, ExportFormat::ThreeMf, dir.file("模型.3mf"), contextFor(lines), error));
  EXPECT_EQ(readFile(dir.path() / "模型.3mf"), "earlier");
  EXPECT_TRUE(writeExport(lines, ExportFormat::Glb, dir.file("模型.glb"), contextFor(lines), error)) << error;
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"m.3mf", "m.glb", "模型.3mf", "模型.glb"}));
  EXPECT_EQ(exportFormatForExtension(".glb"), ExportFormat::Glb);
  EXPECT_EQ(exportFormatForExtension(".3mf"), ExportFormat::ThreeMf);
}

}  // namespace
}  // namespace kubrix::exporttest
