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
  context.viewScale = viewScaleOf(store);
  for (const std::string& out : outputs) {
    const std::string ext = outputExtension(out);
    std::string error;
    const bool ok = render::isPictureExtension(ext)
                        ? render::writePictureFile(store, picture, out, ext, error)
                        : writeExport(store, *exportFormatForExtension(ext), out, context, error);
    if (!ok) {
      fprintf(stderr, "kubrix-run: cannot write %s: %s\n", out.c_str(), error.c_str());
      status = 1;
    }
  }
  return status;
}

}  // namespace kubrix
