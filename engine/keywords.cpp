// The 291 draw-line keywords of the script language and the command table.
#include "engine/assert.h"
#include "engine/command_table.h"

namespace kubrix {

// clang-format off
const std::array<Keyword, 291> kKeywords = {{
  // engine commands
  {"CAL", "engine"}, {"CLEAR", "engine"}, {"LAYER", "engine"}, {"PEN", "engine"}, {"RANDOMIZE", "engine"},
  // figure store
  {"LINE", "figure"}, {"TEN", "figure"}, {"3SOLID", "figure"}, {"4SOLID", "figure"}, {"GETFIGN", "figure"},
  {"GETFIGD", "figure"}, {"SETFIGD", "figure"}, {"DELEFIG", "figure"}, {"DELEFGS", "figure"}, {"UNDOFIG", "figure"},
  {"UNDOFGS", "figure"},
  // current matrix
  {"INIMATR", "matrix"}, {"BAKMATR", "matrix"}, {"RESMATR", "matrix"}, {"MATRIX", "matrix"}, {"MATRIXO", "matrix"},
  {"MATRIXL", "matrix"}, {"MOVMATR", "matrix"}, {"MATRIXA", "matrix"}, {"MATRIXT", "matrix"}, {"TRAMATR", "matrix"},
  {"MATRIXN", "matrix"}, {"ROXMATR", "matrix"}, {"ROYMATR", "matrix"}, {"ROZMATR", "matrix"}, {"RLXMATR", "matrix"},
  {"RLYMATR", "matrix"}, {"RLZMATR", "matrix"}, {"GETMATR", "matrix"}, {"GETL2W", "matrix"}, {"GETW2L", "matrix"},
  // planar primitives
  {"LINE2D", "planar"}, {"LINE3D", "planar"}, {"TEN2D", "planar"}, {"TEN3D", "planar"}, {"CIRCLE2D", "planar"},
  {"CIRCLE3D", "planar"}, {"ARC2D", "planar"}, {"ARC3D", "planar"}, {"ELLI2D", "planar"}, {"ELLI3D", "planar"},
  {"ELARC2D", "planar"}, {"ELARC3D", "planar"}, {"BOX2D", "planar"}, {"BOX3D", "planar"}, {"RRECT1", "planar"},
  {"RRECT2", "planar"}, {"SRECT1", "planar"}, {"SRECT2", "planar"},
  // curves
  {"CLOTH2D", "curves"}, {"CLOTH3D", "curves"}, {"BEZIR2D", "curves"}, {"BEZIR3D", "curves"}, {"BEZIR3DS", "curves"},
  {"2BSPL2D", "curves"}, {"2BSPL3D", "curves"}, {"2BSPL3DS", "curves"}, {"3BSPL2D", "curves"}, {"3BSPL3D", "curves"},
  {"3BSPL3DS", "curves"}, {"CLOTH3S", "curves"}, {"BEZIR3S", "curves"}, {"2BSPL3S", "curves"}, {"3BSPL3S", "curves"},
  // profile solids
  {"3SLD2D", "profile"}, {"3SLD3D", "profile"}, {"4SLD2D", "profile"}, {"4SLD3D", "profile"}, {"2SLD3D", "profile"},
  {"ASLD3D", "profile"}, {"CSLD2D", "profile"}, {"CSLD3D", "profile"}, {"PSLD2D", "profile"}, {"YSLD2D", "profile"},
  {"OSLD2D", "profile"}, {"PSLD3D", "profile"}, {"YSLD3D", "profile"}, {"OSLD3D", "profile"}, {"DSLD2D", "profile"},
  {"DSLD3D", "profile"}, {"BSLD2D", "profile"}, {"BSLD3D", "profile"},
  // surfaces and holes
  {"CHOLE1", "surfaces"}, {"CHOLE2", "surfaces"}, {"FACEPNT", "surfaces"}, {"GETFPNT", "surfaces"},
  {"ELEFACE", "surfaces"}, {"BEZFACE", "surfaces"}, {"2BSFACE", "surfaces"}, {"3BSFACE", "surfaces"},
  {"BEZEDGE", "surfaces"}, {"2BSEDGE", "surfaces"}, {"3BSEDGE", "surfaces"},
  // primitive solids
  {"CUBE", "solids"}, {"CUBIC4", "solids"}, {"CUBIC3", "solids"}, {"CUBIC2", "solids"}, {"CUBIC1", "solids"},
  {"DELTAX1", "solids"}, {"DELTAX2", "solids"}, {"DELTAX3", "solids"}, {"DELTAY1", "solids"}, {"DELTAY2", "solids"},
  {"DELTAY3", "solids"}, {"DTUBEX1", "solids"}, {"DTUBEX2", "solids"}, {"DTUBEX3", "solids"}, {"DTUBEY1", "solids"},
  {"DTUBEY2", "solids"}, {"DTUBEY3", "solids"}, {"DCONEX1", "solids"}, {"DCONEX2", "solids"}, {"DCONEX3", "solids"},
  {"DCONEY1", "solids"}, {"DCONEY2", "solids"}, {"DCONEY3", "solids"}, {"CYLIND", "solids"}, {"CTUBE", "solids"},
  {"CCONE", "solids"}, {"ECYLIND", "solids"}, {"ETUBE", "solids"}, {"ECONE", "solids"}, {"PCYLIND", "solids"},
  {"YCYLIND", "solids"}, {"OCYLIND", "solids"}, {"PTUBE", "solids"}, {"YTUBE", "solids"}, {"OTUBE", "solids"},
  {"PCONE", "solids"}, {"YCONE", "solids"}, {"OCONE", "solids"}, {"SPHERE", "solids"}, {"DOME", "solids"},
  {"EGG", "solids"}, {"EGGP1", "solids"}, {"EGGPX", "solids"}, {"EGGPY", "solids"}, {"EGGPZ", "solids"},
  {"TORUS", "solids"}, {"TORUS1", "solids"}, {"TORUS2", "solids"}, {"DBBOX1", "solids"}, {"DBBOX2", "solids"},
  {"DBBOX3", "solids"}, {"DBBOX4", "solids"}, {"DBPOLY1", "solids"}, {"DBPOLY2", "solids"}, {"CBOX1", "solids"},
  {"CBOX2", "solids"}, {"CCCYLIN", "solids"}, {"CECYLIN", "solids"}, {"CPCYLIN", "solids"}, {"CYCYLIN", "solids"},
  {"RBOX1", "solids"}, {"RBOX2", "solids"}, {"BBOX1", "solids"}, {"BBOX2", "solids"}, {"BBOX3", "solids"},
  {"RCCYLIN", "solids"}, {"BCCYLIN", "solids"}, {"RECYLIN", "solids"}, {"BECYLIN", "solids"}, {"RPCYLIN", "solids"},
  {"BPCYLIN", "solids"}, {"RYCYLIN", "solids"}, {"BYCYLIN", "solids"},
  // selection and edits
  {"CLRSEL", "selection"}, {"GETSELN", "selection"}, {"GETSEL", "selection"}, {"ALLSEL", "selection"},
  {"ADDSEL", "selection"}, {"DELSEL", "selection"}, {"ARISEL", "selection"}, {"AROSEL", "selection"},
  {"ARRSEL", "selection"}, {"RLSEL1", "selection"}, {"RLSEL2", "selection"}, {"RLSEL3", "selection"},
  {"RLSEL4", "selection"}, {"RENSET", "selection"}, {"RENCLR", "selection"}, {"RENADD", "selection"},
  {"RENLEN", "selection"}, {"S_DELE", "selection"}, {"S_UNDO", "selection"}, {"S_LAYER", "selection"},
  {"S_COLOR", "selection"}, {"S_SCUT", "selection"}, {"S_FACE1", "selection"}, {"S_FACE2", "selection"},
  {"S_REVS", "selection"}, {"S_MOVN", "selection"}, {"S_MOVP", "selection"}, {"S_MOVS", "selection"},
  {"S_MOVRX", "selection"}, {"S_MOVRY", "selection"}, {"S_MOVRZ", "selection"}, {"S_MOVRV", "selection"},
  {"S_SWEP2", "selection"}, {"S_COPN", "selection"}, {"S_SWEP1", "selection"}, {"S_PROJ1", "selection"},
  {"S_PROJ2", "selection"}, {"S_PROJ3", "selection"}, {"S_WALL1", "selection"}, {"S_WALL2", "selection"},
  {"S_WALL3", "selection"}, {"S_PICK1", "selection"}, {"S_PICK2", "selection"}, {"S_PICK3", "selection"},
  {"S_COPP", "selection"}, {"S_COPS", "selection"}, {"S_COPRX", "selection"}, {"S_COPRY", "selection"},
  {"S_COPRZ", "selection"}, {"S_COPRV", "selection"}, {"S_SWEP3", "selection"}, {"S_SWEP4", "selection"},
  {"S_COPSS", "selection"}, {"S_ROT1", "selection"}, {"S_ROT2", "selection"}, {"S_COPRS", "selection"},
  {"R_RULED", "selection"}, {"R_SWEP", "selection"}, {"R_COPY", "selection"}, {"R_SWEPS", "selection"},
  // geometric queries
  {"GETKETA", "queries"}, {"CHKNUM", "queries"}, {"GETGCM", "queries"}, {"GETDIST2D", "queries"},
  {"GETDIST", "queries"}, {"GETANGLE2D", "queries"}, {"GETANGLE2V", "queries"}, {"GETANGLE", "queries"},
  {"GETREV2D", "queries"}, {"GETREV", "queries"}, {"GETREVA", "queries"}, {"GETCRSLP", "queries"},
  {"GETCRSLL", "queries"}, {"GETCRSLC", "queries"}, {"GETCRSLE", "queries"}, {"GETCRSCC", "queries"},
  {"GET3PC", "queries"}, {"GET2PA", "queries"}, {"GET3PA", "queries"}, {"GETMENLL", "queries"},
  {"GETMENLC", "queries"}, {"GETMENCC", "queries"}, {"GETFILLL", "queries"}, {"GETFILLC", "queries"},
  {"GETFILCC", "queries"}, {"GETCYJ", "queries"}, {"GETNORM", "queries"},
  // lists, strings, date
  {"CNTLIST", "strings"}, {"CHKLIST", "strings"}, {"GETLIST", "strings"}, {"CHKITEM", "strings"},
  {"STRHEX", "strings"}, {"STR2HEX", "strings"}, {"STRLEN", "strings"}, {"STRSTR", "strings"},
  {"STRCMP", "strings"}, {"STRCPY", "strings"}, {"STRCAT", "strings"}, {"STRNCPY", "strings"},
  {"STRANG", "strings"}, {"GETDATE", "strings"}, {"GETTIME", "strings"}, {"GETFNAME", "strings"},
  {"STRNUM", "strings"}, {"TRIM", "strings"}, {"UPCASE", "strings"}, {"LOWCASE", "strings"}, {"ZENKAKU", "strings"},
  // interaction
  {"BEEP", "interaction"}, {"TALK", "interaction"}, {"MESSAGE", "interaction"}, {"INP_YN", "interaction"},
  {"INP_NUM", "interaction"}, {"INP_STR", "interaction"}, {"INP_SEL", "interaction"}, {"INP_NS1", "interaction"},
  {"INP_NS2", "interaction"}, {"INP_NS3", "interaction"}, {"INP_NS4", "interaction"}, {"INP_COL", "interaction"},
}};
// clang-format on

void CommandTable::add(std::string_view name, CommandFn fn, std::string_view usage) {
  bool known = false;
  for (const auto& k : kKeywords) known = known || k.name == name;
  KUBRIX_ASSERT(known, "command keyword is not in the keyword list");
  KUBRIX_ASSERT(bound_.find(name) == bound_.end(), "command keyword bound twice");
  bound_.emplace(name, CommandSpec{name, usage, fn});
}

const CommandSpec* CommandTable::find(std::string_view upperName) const {
  auto it = bound_.find(upperName);
  return it == bound_.end() ? nullptr : &it->second;
}

void registerAllCommands(CommandTable& t) {
  registerEngineCommands(t);
  registerFigureCommands(t);
  registerMatrixCommands(t);
  registerPlanarCommands(t);
  registerCurveCommands(t);
  registerProfileCommands(t);
  registerSolidCommands(t);
  registerSelectionCommands(t);
  registerSurfaceCommands(t);
  registerQueryCommands(t);
  registerStringCommands(t);
  registerInteractionCommands(t);
}

const CommandTable& commandTable() {
  static const CommandTable table = [] {
    CommandTable t;
    registerAllCommands(t);
    return t;
  }();
  return table;
}

}  // namespace kubrix
