// The rules of the viewer's "名前を付けて保存(&S)..." command that need no window: the filter list,
// the extension taken from a chosen name or added by the chosen filter, the writer an extension
// selects, and the refusal of double-byte file names for the formats that cannot carry them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "output/export/export.h"

namespace kubrix::viewer {

// The filters in dialog order; the extension each adds to a name that has none. The model formats
// glTF and 3MF follow the bitmap, so the first seven keep their places.
inline constexpr int kSaveFilterCount = 9;
extern const char* const kSaveFilterNames[kSaveFilterCount];  // "DXF Files(*.dxf)" ...
extern const char* const kSaveFilterExtensions[kSaveFilterCount];  // ".dxf" ...

// The extension of the file name part of path (UTF-8), from its last "." on, in ASCII lower case;
// empty when the name has no ".".
std::string lowerExtension(std::string_view path);

// What a lower-case extension writes: one of the export formats, the bitmap, or nothing.
struct SaveTarget {
  bool bitmap = false;
  ExportFormat format = ExportFormat::Dxf;  // when not bitmap
};
std::optional<SaveTarget> saveTargetForExtension(std::string_view lowerExt);

// True for ".wrl", ".x3d" and ".dae", whose writers refuse double-byte file names.
bool refusesDoubleByteNames(std::string_view lowerExt);

// True when the file name part of path (UTF-8) holds a character that takes two bytes in the
// Shift-JIS code page: anything but ASCII and half-width katakana (characters without a Shift-JIS
// form count as double-byte too, as no single byte can stand for them). Invalid UTF-8 counts too.
bool hasDoubleByteCharacter(std::string_view path);

}  // namespace kubrix::viewer
