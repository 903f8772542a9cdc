// Save-as rules: filters, extensions, formats, the double-byte name check.
#include "output/viewer/save_as.h"

#include <cstdint>

namespace kubrix::viewer {

const char* const kSaveFilterNames[kSaveFilterCount] = {
    "DXF Files(*.dxf)", "STL Files(*.stl)",     "OBJ Files(*.obj)",    "VRML2.0 Files(*.wrl)",
    "X3D Files(*.x3d)", "COLLADA Files(*.dae)", "Bitmap Files(*.bmp)", "glTF Binary Files(*.glb)",
    "3MF Files(*.3mf)"};
const char* const kSaveFilterExtensions[kSaveFilterCount] = {".dxf", ".stl", ".obj", ".wrl", ".x3d",
                                                             ".dae", ".bmp", ".glb", ".3mf"};

namespace {

std::string_view fileNamePart(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string lowerExtension(std::string_view path) {
  const std::string_view name = fileNamePart(path);
  const size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return {};
  std::string ext(name.substr(dot));
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

std::optional<SaveTarget> saveTargetForExtension(std::string_view ext) {
  static constexpr struct {
    const char* ext;
    ExportFormat format;
  } kFormats[] = {{".dxf", ExportFormat::Dxf}, {".stl", ExportFormat::Stl}, {".obj", ExportFormat::Obj},
                  {".wrl", ExportFormat::Vrml}, {".x3d", ExportFormat::X3d}, {".dae", ExportFormat::Collada},
                  {".glb", ExportFormat::Glb},  {".3mf", ExportFormat::ThreeMf}};
  for (const auto& f : kFormats)
    if (ext == f.ext) return SaveTarget{false, f.format};
  if (ext == ".bmp") return SaveTarget{true, ExportFormat::Dxf};
  return std::nullopt;
}

bool refusesDoubleByteNames(std::string_view ext) { return ext == ".wrl" || ext == ".x3d" || ext == ".dae"; }

bool hasDoubleByteCharacter(std::string_view path) {
  const std::string_view name = fileNamePart(path);
  for (size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    // Half-width katakana U+FF61..U+FF9F are EF BD A1..EF BD BF and EF BE 80..EF BE 9F.
    if (c == 0xEF && i + 2 < name.size()) {
      const auto c1 = static_cast<unsigned char>(name[i + 1]), c2 = static_cast<unsigned char>(name[i + 2]);
      const uint32_t cp = ((c & 0x0Fu) << 12) | ((c1 & 0x3Fu) << 6) | (c2 & 0x3Fu);
      if ((c1 & 0xC0) == 0x80 && (c2 & 0xC0) == 0x80 && cp >= 0xFF61 && cp <= 0xFF9F) {
        i += 3;
        continue;
      }
    }
    return true;
  }
  return false;
}

}  // namespace kubrix::viewer
