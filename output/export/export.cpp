// The export entry points: format by extension, the view scale, the save checks, and writing a format
// through a temporary file that replaces the target only when the whole text is on disk.
#include "output/export/export.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <ostream>

#include "engine/sjis.h"
#include "geometry/palette.h"
#include "files/replacing_file.h"
#include "output/export/model_writers.h"
#include "output/export/writers.h"

namespace kubrix {

namespace {

std::string_view baseName(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The file name as the files carry it (STL and OBJ first lines, X3D meta): CP932, with control
// characters, which would break the line or the attribute, shown as '_'.
std::string nameText(std::string_view utf8Name) {
  std::string name = utf8ToSjis(utf8Name);
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  return name;
}

void writeFormat(ExportFormat format, const ExportJob& job, TextWriter& w) {
  switch (format) {
    case ExportFormat::Dxf: return writeDxf(job, w);
    case ExportFormat::Stl: return writeStl(job, w);
    case ExportFormat::Obj: return writeObj(job, w);
    case ExportFormat::Vrml: return writeVrml(job, w);
    case ExportFormat::X3d: return writeX3d(job, w);
    case ExportFormat::Collada: return writeCollada(job, w);
    case ExportFormat::Glb:
    case ExportFormat::ThreeMf: return;  // binary: modelBytes
  }
}

bool isModelFormat(ExportFormat format) { return format == ExportFormat::Glb || format == ExportFormat::ThreeMf; }

bool modelBytes(const FigureStore& store, ExportFormat format, std::string& bytes, std::string& error) {
  return format == ExportFormat::Glb ? glbBytes(store, bytes, error) : threeMfBytes(store, bytes, error);
}

// A kept creation date must still be a date and time: digits, separators, 'T', 'Z', offsets.
bool looksLikeDateTime(std::string_view s) {
  if (s.empty() || s.size() > 64) return false;
  for (char c : s) {
    const bool ok = (c >= '0' && c <= '9') || c == '-' || c == ':' || c == '.' || c == '+' || c == 'T' ||
                    c == 'Z' || c == 't' || c == 'z';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

std::optional<ExportFormat> exportFormatForExtension(std::string_view ext) {
  if (ext == ".dxf") return ExportFormat::Dxf;
  if (ext == ".stl") return ExportFormat::Stl;
  if (ext == ".obj") return ExportFormat::Obj;
  if (ext == ".wrl") return ExportFormat::Vrml;
  if (ext == ".x3d") return ExportFormat::X3d;
  if (ext == ".dae") return ExportFormat::Collada;
  if (ext == ".glb") return ExportFormat::Glb;
  if (ext == ".3mf") return ExportFormat::ThreeMf;
  return std::nullopt;
}

double viewScaleOf(const FigureStore& store) {
  double scale = 1e-8;
  for (const FigureElement& e : store.elements()) {
    if (!e.live) continue;
    for (const Point3& p : e.p)
      for (double v : {p.x, p.y, p.z})
        if (std::fabs(v) > scale) scale = std::fabs(v);
  }
  return scale;
}

bool exportFileNameAllowed(ExportFormat format, std::string_view path) {
  if (format != ExportFormat::Vrml && format != ExportFormat::X3d && format != ExportFormat::Collada) return true;
  for (unsigned char c : baseName(path))
    if (c >= 0x80) return false;
  return true;
}

void putVrmlPoint(TextWriter& w, const Point3& p) {
  putFixed(w, p.x * 0.001, 10);
  w.put(' ');
  putFixed(w, p.z * 0.001, 10);
  w.put(' ');
  putFixed(w, -(p.y * 0.001), 10);
}

void putUnitColour(TextWriter& w, int colourIndex) {
  const Rgb c = paletteColour(colourIndex);
  w.unitComponent(c.r);
  w.put(' ');
  w.unitComponent(c.g);
  w.put(' ');
  w.unitComponent(c.b);
}

std::string colladaDateNow(const ExportContext& context) {
  const std::time_t now = context.now ? *context.now : std::time(nullptr);
  std::tm utc{};
  char buf[32];
  if (gmtime_r(&now, &utc) == nullptr || strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0)
    return "1970-01-01T00:00:00Z";
  return buf;
}

std::string colladaCreatedDate(const std::string& path) {
  // Only a regular file is read: a device or pipe could block or never end.
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  FILE* f = fopen(path.c_str(), "rb");
  if (f == nullptr) return {};
  char* raw = nullptr;
  size_t cap = 0;
  std::string found;
  bool takeNextLine = false;
  ssize_t n;
  while ((n = getline(&raw, &cap, f)) > 0) {
    const std::string_view line(raw, static_cast<size_t>(n));
    if (takeNextLine) {
      found = packed(line);
      break;
    }
    const size_t at = findCharsNoCase(line, "<created>");
    if (at == std::string_view::npos) continue;
    found = packed(line.substr(at + 9));
    if (!found.empty()) break;
    takeNextLine = true;  // the date stands on the next line
  }
  free(raw);
  fclose(f);
  const size_t lt = found.find('<');
  if (lt != std::string::npos) found.resize(lt);
  return looksLikeDateTime(found) ? found : std::string();
}

std::string exportText(const FigureStore& store, ExportFormat format, std::string_view fileName,
                       const ExportContext& context, std::string_view colladaCreated) {
  if (isModelFormat(format)) {
    std::string bytes, error;
    return modelBytes(store, format, bytes, error) ? bytes : std::string();
  }
  ExportJob job{store, context, nameText(fileName), std::string(colladaCreated), colladaDateNow(context)};
  if (job.created.empty()) job.created = job.modified;
  std::string text;
  {
    TextWriter w(text);
    writeFormat(format, job, w);
    w.flush();
  }
  return text;
}

bool writeExport(const FigureStore& store, ExportFormat format, const std::string& path,
                 const ExportContext& context, std::string& error) {
  if (store.count() == 0) {
    error = kExportNoFiguresMessage;
    return false;
  }
  if (!exportFileNameAllowed(format, path)) {
    error = kExportNameRefusedMessage;
    return false;
  }
  try {
    if (format == ExportFormat::ThreeMf) {
      std::string bytes;
      if (!threeMfBytes(store, bytes, error)) return false;
      int err = 0;
      if (!writeFileReplacing(path, bytes, &err)) error = strerror(err);
      return err == 0;
    }
    ReplacingFile file;
    if (!file.open(path)) {
      error = strerror(file.error());
      return false;
    }
    if (format == ExportFormat::Glb) {
      FdOutBuf buffer(file.fd());
      std::ostream stream(&buffer);
      if (!writeGlb(store, stream, error)) return false;
      if (buffer.pubsync() != 0 || buffer.error() != 0) {
        error = strerror(buffer.error() != 0 ? buffer.error() : EIO);
        return false;
      }
      if (!file.commit()) {
        error = strerror(file.error());
        return false;
      }
      return true;
    }
    ExportJob job{store, context, nameText(baseName(path)), {}, colladaDateNow(context)};
    if (format == ExportFormat::Collada) job.created = colladaCreatedDate(file.target());
    if (job.created.empty()) job.created = job.modified;
    TextWriter w(file.fd());
    writeFormat(format, job, w);
    if (!w.flush()) {
      error = strerror(w.error());
      return false;  // the temporary file goes with `file`
    }
    if (!file.commit()) {
      error = strerror(file.error());
      return false;
    }
    return true;
  } catch (const std::bad_alloc&) {
    error = strerror(ENOMEM);
    return false;
  }
}

}  // namespace kubrix
