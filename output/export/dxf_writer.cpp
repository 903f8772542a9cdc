// DXF release 12 (AC1009): header, line-type, layer and text-style tables, then one entity per live
// element: LINE, POINT, and 3DFACE for triangle (third corner repeated) and quad faces.
#include "engine/sjis.h"
#include "output/export/writers.h"

namespace kubrix {

namespace {

// Stand-ins in the header table for the drawing extent, -(view scale x export scale) and +(...).
const char kExtentLow[] = "-";
const char kExtentHigh[] = "+";

// The header variables, as group-code and value lines.
const char* const kHeader[] = {
    "  9", "$ACADVER",    "  1", "AC1009",     "  9", "$DWGCODEPAGE", "  3", "ANSI_932",   "  9", "$INSBASE",
    " 10", "0.0",         " 20", "0.0",        " 30", "0.0",          "  9", "$EXTMIN",    " 10", kExtentLow,
    " 20", kExtentLow,    " 30", kExtentLow,   "  9", "$EXTMAX",      " 10", kExtentHigh,  " 20", kExtentHigh,
    " 30", kExtentHigh,   "  9", "$LIMMIN",    " 10", kExtentLow,     " 20", kExtentLow,   "  9", "$LIMMAX",
    " 10", kExtentHigh,   " 20", kExtentHigh,  "  9", "$ORTHOMODE",   " 70", "     0",     "  9", "$REGENMODE",
    " 70", "     1",      "  9", "$FILLMODE",  " 70", "     1",       "  9", "$QTEXTMODE", " 70", "     0",
    "  9", "$MIRRTEXT",   " 70", "     1",     "  9", "$DRAGMODE",    " 70", "     2",     "  9", "$LTSCALE",
    " 40", "1.0",         "  9", "$OSMODE",    " 70", "     0",       "  9", "$ATTMODE",   " 70", "     1",
    "  9", "$TEXTSIZE",   " 40", "3.0",        "  9", "$TRACEWID",    " 40", "0.05",       "  9", "$TEXTSTYLE",
    "  7", "STANDARD",    "  9", "$CLAYER",    "  8", "0",            "  9", "$CELTYPE",   "  6", "BYLAYER",
    "  9", "$CECOLOR",    " 62", "     2",     "  9", "$DIMSCALE",    " 40", "1.0",        "  9", "$DIMASZ",
    " 40", "0.18",        "  9", "$DIMEXO",    " 40", "0.0625",       "  9", "$DIMDLI",    " 40", "0.38",
    "  9", "$DIMRND",     " 40", "0.0",        "  9", "$DIMDLE",      " 40", "0.0",        "  9", "$DIMEXE",
    " 40", "0.18",        "  9", "$DIMTP",     " 40", "0.0",          "  9", "$DIMTM",     " 40", "0.0",
    "  9", "$DIMTXT",     " 40", "3.0",        "  9", "$DIMCEN",      " 40", "0.09",       "  9", "$DIMTSZ",
    " 40", "0.0",         "  9", "$DIMTOL",    " 70", "     0",       "  9", "$DIMLIM",    " 70", "     0",
    "  9", "$DIMTIH",     " 70", "     1",     "  9", "$DIMTOH",      " 70", "     1",     "  9", "$DIMSE1",
    " 70", "     0",      "  9", "$DIMSE2",    " 70", "     0",       "  9", "$DIMTAD",    " 70", "     0",
    "  9", "$DIMZIN",     " 70", "     0",     "  9", "$DIMBLK",      "  1", "",           "  9", "$DIMALT",
    " 70", "     0",      "  9", "$DIMALTD",   " 70", "     2",       "  9", "$DIMALTF",   " 40", "25.4",
    "  9", "$DIMLFAC",    " 40", "1.0",        "  9", "$LUNITS",      " 70", "     2",     "  9", "$LUPREC",
    " 70", "     4",      "  9", "$AXISMODE",  " 70", "     0",       "  9", "$AXISUNIT",  " 10", "0.0",
    " 20", "0.0",         "  9", "$SKETCHINC", " 40", "0.1",          "  9", "$AUNITS",    " 70", "     0",
    "  9", "$AUPREC",     " 70", "     0",     "  9", "$LIMCHECK",    " 70", "     1",     "  9", "$BLIPMODE",
    " 70", "     1",      "  9", "$SKPOLY",    " 70", "     0",       "  9", "$ANGBASE",   " 50", "0.0",
    "  9", "$ANGDIR",     " 70", "     0",     "  9", "$COORDS",      " 70", "     0",
};

struct LineType {
  const char* name;
  const char* description;  // UTF-8, written in CP932
  const char* items;        // " 73" value
  const char* length;       // " 40" value
  const char* dashes[6];
};

const LineType kLineTypes[] = {
    {"CONTINUOUS", "実線", "     0", "0.0", {}},
    {"HIDDEN", "破線", "     2", "0.375", {"0.25", "-0.125"}},
    {"DASHED", "長破線", "     2", "0.75", {"0.5", "-0.25"}},
    {"CENTER", "一点鎖線", "     4", "2.0", {"1.25", "-0.25", "0.25", "-0.25"}},
    {"DOT", "疎破線", "     2", "0.25", {"0", "-0.25"}},
    {"PHANTOM", "二点鎖線", "     6", "2.5", {"1.25", "-0.25", "0.25", "-0.25", "0.25", "-0.25"}},
};

const char* const kStyleTable[] = {"  0", "TABLE",    "  2", "STYLE", " 70", "     1", "  0", "STYLE",
                                   "  2", "STANDARD", " 70", "     0", " 40", "0.0",   " 41", "1.0",
                                   " 50", "0.0",      " 71", "     0", " 42", "3.0",   "  3", "TXT",
                                   "  4", "EXTFONT",  "  0", "ENDTAB", "  0", "ENDSEC"};

void pair(TextWriter& w, const char* code, std::string_view value) {
  w.line(code);
  w.line(value);
}

void putHeader(const ExportJob& job, TextWriter& w) {
  const double extent = job.context.viewScale * job.context.exportScale;
  pair(w, "  0", "SECTION");
  pair(w, "  2", "HEADER");
  for (const char* item : kHeader) {
    if (item == kExtentLow || item == kExtentHigh) {
      w.fixed(item == kExtentLow ? -extent : extent, 2);
      w.crlf();
    } else {
      w.line(item);
    }
  }
  pair(w, "  0", "ENDSEC");
}

void putTables(const FigureStore::LayerCensus& census, TextWriter& w) {
  pair(w, "  0", "SECTION");
  pair(w, "  2", "TABLES");
  pair(w, "  0", "TABLE");
  pair(w, "  2", "LTYPE");
  pair(w, " 70", "     6");
  for (const LineType& t : kLineTypes) {
    pair(w, "  0", "LTYPE");
    pair(w, "  2", t.name);
    pair(w, " 70", "    64");
    pair(w, "  3", utf8ToSjis(t.description));
    pair(w, " 72", "    65");
    pair(w, " 73", t.items);
    pair(w, " 40", t.length);
    for (const char* d : t.dashes)
      if (d != nullptr) pair(w, " 49", d);
  }
  pair(w, "  0", "ENDTAB");
  pair(w, "  0", "TABLE");
  pair(w, "  2", "LAYER");
  w.line(" 70");
  w.padded(census.usedLayers, 6);
  w.crlf();
  for (int layer = 0; layer <= 255; ++layer) {
    if (census.perLayer[static_cast<size_t>(layer)] == 0) continue;
    pair(w, "  0", "LAYER");
    w.line("  2");
    w.integer(layer);
    w.crlf();
    pair(w, " 70", "     0");
    pair(w, " 62", "     7");
    pair(w, "  6", "CONTINUOUS");
  }
  pair(w, "  0", "ENDTAB");
  for (const char* item : kStyleTable) w.line(item);
}

// One point as three group codes: base, base + 10, base + 20 (" 10" " 20" " 30", " 11" ...).
void putPoint(TextWriter& w, int base, const Point3& p, double scale) {
  const double v[3] = {p.x * scale, p.y * scale, p.z * scale};
  for (int axis = 0; axis < 3; ++axis) {
    w.put(' ');
    w.integer(base + 10 * axis);
    w.crlf();
    putFixed(w, v[axis], 10);
    w.crlf();
  }
}

void putEntity(const FigureElement& e, double scale, TextWriter& w) {
  const char* type = nullptr;
  int points = 0;
  switch (e.kind) {
    case kKindLine: type = "LINE", points = 2; break;
    case kKindPoint: type = "POINT", points = 1; break;
    case kKindTriangle:
    case kKindQuad: type = "3DFACE", points = 4; break;
    default: return;  // no other kind is drawn
  }
  pair(w, "  0", type);
  w.line("  8");
  w.integer((e.layer >= 0 && e.layer <= 255) ? e.layer : 0);
  w.crlf();
  w.line(" 62");
  w.integer((e.colour >= 1 && e.colour <= 255) ? e.colour : 7);
  w.crlf();
  for (int i = 0; i < points; ++i) {
    // A triangle is a 3DFACE whose fourth corner repeats the third.
    const Point3& p = (e.kind == kKindTriangle && i == 3) ? e.p[2] : e.p[static_cast<size_t>(i)];
    putPoint(w, 10 + i, p, scale);
  }
}

}  // namespace

void writeDxf(const ExportJob& job, TextWriter& w) {
  putHeader(job, w);
  putTables(job.store.layerCensus(), w);
  pair(w, "  0", "SECTION");
  pair(w, "  2", "ENTITIES");
  const double scale = job.context.exportScale;
  for (const FigureElement& e : job.store.elements()) {
    if (!w.ok()) return;  // the file is lost anyway: stop formatting
    if (e.live) putEntity(e, scale, w);
  }
  pair(w, "  0", "ENDSEC");
  pair(w, "  0", "EOF");
}

}  // namespace kubrix
