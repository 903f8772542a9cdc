// The -o outputs of kubrix-run.
#include "cli/figure_outputs.h"

#include <cstdio>

#include "output/export/export.h"

namespace kubrix {

std::string outputExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string e = path.substr(dot);
  for (char& c : e)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return e;
}

bool figureOutputKnown(const std::string& path) {
  const std::string ext = outputExtension(path);
  return exportFormatForExtension(ext).has_value() || render::isPictureExtension(ext);
}

int writeFigureOutputs(const FigureStore& store, const std::vector<std::string>& outputs,
                       const render::PictureOptions& picture) {
  int status = 0;
  ExportContext context;  // export scale 1.0, as the viewer's save command sets it
  bool scaled = false;      // the view scale is one pass over the store: only DXF and X3D need it
  for (const std::string& out : outputs) {
    const std::string ext = outputExtension(out);
    std::string error;
    bool ok;
    if (render::isPictureExtension(ext)) {
      ok = render::writePictureFile(store, picture, out, ext, error);
    } else {
      const ExportFormat format = *exportFormatForExtension(ext);
      if (!scaled && (format == ExportFormat::Dxf || format == ExportFormat::X3d)) {
        context.viewScale = viewScaleOf(store);
        scaled = true;
      }
      ok = writeExport(store, format, out, context, error);
    }
    if (!ok) {
      fprintf(stderr, "kubrix-run: cannot write %s: %s\n", out.c_str(), error.c_str());
      status = 1;
    }
  }
  return status;
}

}  // namespace kubrix
