// The display lists and the frame of the viewer and the thumbnail renderer (OpenGL 1.1 calls).
#include "output/render/figure_renderer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "geometry/palette.h"

namespace kubrix::viewer {

namespace {

constexpr GLenum kNoPrimitive = 0xFFFF;
constexpr GLfloat kGreenAmbient[4] = {0, 0.3f, 0, 1};
constexpr GLfloat kFigureSpecular[4] = {0.6f, 0.6f, 0.6f, 1};
constexpr GLfloat kAxesSpecular[4] = {0.1f, 0.1f, 0.1f, 1};
constexpr GLfloat kShininess = 60;

struct V3 {
  float x, y, z;
};

V3 scaled(const Point3& p, double viewScale) {
  return V3{static_cast<float>(p.x / viewScale), static_cast<float>(p.y / viewScale),
            static_cast<float>(p.z / viewScale)};
}

float manhattan(const V3& a, const V3& b) {
  return std::fabs(b.x - a.x) + std::fabs(b.y - a.y) + std::fabs(b.z - a.z);
}

// The face normal (P2 - P1) x (P3 - P1), normalised unless its length is at most 1e-7.
void faceNormal(const V3& p1, const V3& p2, const V3& p3) {
  const float ux = p2.x - p1.x, uy = p2.y - p1.y, uz = p2.z - p1.z;
  const float vx = p3.x - p1.x, vy = p3.y - p1.y, vz = p3.z - p1.z;
  float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (len > 1e-7f) nx /= len, ny /= len, nz /= len;
  glNormal3f(nx, ny, nz);
}

void vertex(const V3& v) { glVertex3f(v.x, v.y, v.z); }

// A point of the axes: `along` on the axis, `across` on the other axis of the plane.
void axisVertex(int axis, int acrossAxis, float along, float across) {
  float c[3] = {0, 0, 0};
  c[axis] = along;
  c[acrossAxis] = across;
  glVertex3f(c[0], c[1], c[2]);
}

void compileAxes() {
  static constexpr GLfloat kColours[3][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
  // The two axes across each axis: the coordinate planes that contain it.
  static constexpr int kAcross[3][2] = {{1, 2}, {0, 2}, {0, 1}};
  constexpr float h = 0.05f, a = 1.5f, c = -0.2f;
  struct Stroke {
    float a1, c1, a2, c2;  // (along, across) of both ends
  };
  static constexpr Stroke kX[] = {{a - h, c - h, a + h, c + h}, {a + h, c - h, a - h, c + h}};
  static constexpr Stroke kY[] = {{a + h, c - h, a, c}, {a + h, c + h, a, c}, {a, c, a - h, c}};
  static constexpr Stroke kZ[] = {{a - h, c + h, a + h, c + h}, {a - h, c - h, a + h, c - h}, {a + h, c + h, a - h, c - h}};
  const Stroke* letters[3] = {kX, kY, kZ};
  const int strokeCounts[3] = {2, 3, 3};

  for (int axis = 0; axis < 3; ++axis) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kColours[axis]);
    glLineWidth(3);
    glBegin(GL_LINES);
    axisVertex(axis, kAcross[axis][0], 0, 0);
    axisVertex(axis, kAcross[axis][0], 5, 0);
    glEnd();
    glLineWidth(1);
    glBegin(GL_LINES);
    axisVertex(axis, kAcross[axis][0], 0, 0);
    axisVertex(axis, kAcross[axis][0], -5, 0);
    glEnd();
    glLineWidth(2);
    glBegin(GL_LINES);
    for (int s = 0; s < strokeCounts[axis]; ++s) {
      const Stroke& st = letters[axis][s];
      for (int plane = 0; plane < 2; ++plane) {
        axisVertex(axis, kAcross[axis][plane], st.a1, st.c1);
        axisVertex(axis, kAcross[axis][plane], st.a2, st.c2);
      }
    }
    glEnd();
  }
}

// The material every figure list starts with.
void figurePreamble() {
  glPointSize(5);
  glLineWidth(1);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kGreenAmbient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kFigureSpecular);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, kShininess);
}

// Compiles the live elements [first, end) of the store. Lines and points are lit with the normal
// of list lineNormal, which every frame points at the light; a face sets its own normal, so the
// first line or point after faces (and the first of the part) calls it again. Returns the number
// of elements drawn.
size_t compileFigures(const PlainBuffer<FigureElement>& elements, size_t first, size_t end, double viewScale,
                      GLuint lineNormal) {
  // Elements of one kind share one Begin/End, and a colour is set only when it changes: the picture
  // is the one that setting everything per element gives, with far fewer calls to compile.
  GLenum open = kNoPrimitive;
  auto begin = [&open](GLenum mode) {
    if (open == mode) return;
    if (open != kNoPrimitive) glEnd();
    glBegin(mode);
    open = mode;
  };
  bool haveColour = false;
  bool lineNormalSet = false;
  Rgb last{};
  size_t drawn = 0;
  for (size_t i = first; i < end; ++i) {
    const FigureElement& e = elements[i];
    if (!e.live) continue;
    const V3 p1 = scaled(e.p[0], viewScale);
    V3 p2{}, p3{}, p4{};
    GLenum mode;
    switch (e.kind) {
      case kKindLine: mode = GL_LINES, p2 = scaled(e.p[1], viewScale); break;
      case kKindPoint: mode = GL_POINTS; break;
      case kKindTriangle:
        p2 = scaled(e.p[1], viewScale), p3 = scaled(e.p[2], viewScale);
        if (manhattan(p1, p2) + manhattan(p2, p3) < 0.001f) continue;
        mode = GL_TRIANGLES;
        break;
      case kKindQuad:
        p2 = scaled(e.p[1], viewScale), p3 = scaled(e.p[2], viewScale), p4 = scaled(e.p[3], viewScale);
        if (manhattan(p1, p2) + manhattan(p2, p3) + manhattan(p3, p4) < 0.002f) continue;
        mode = GL_QUADS;
        break;
      default: continue;
    }
    const bool face = mode == GL_TRIANGLES || mode == GL_QUADS;
    if (!face && !lineNormalSet) {
      if (open != kNoPrimitive) glEnd();
      open = kNoPrimitive;
      glCallList(lineNormal);
    }
    lineNormalSet = !face;
    begin(mode);
    const Rgb rgb = paletteColour(e.colour);
    if (!haveColour || !(rgb == last)) {
      const GLfloat diffuse[4] = {rgb.r / 255.0f, rgb.g / 255.0f, rgb.b / 255.0f, 1};
      glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
      glColor3f(diffuse[0], diffuse[1], diffuse[2]);
      haveColour = true;
      last = rgb;
    }
    switch (mode) {
      case GL_LINES: vertex(p1), vertex(p2); break;
      case GL_POINTS: vertex(p1); break;
      case GL_TRIANGLES: faceNormal(p1, p2, p3), vertex(p1), vertex(p2), vertex(p3); break;
      default: faceNormal(p1, p2, p3), vertex(p1), vertex(p2), vertex(p3), vertex(p4); break;
    }
    ++drawn;
  }
  if (open != kNoPrimitive) glEnd();
  return drawn;
}

}  // namespace

bool FigureRenderer::buildLists(const FigureStore& store, double viewScale) {
  if (!beginLists(store, viewScale)) return false;
  while (!compileMore(kDefaultPart)) {
  }
  return true;
}

bool FigureRenderer::beginLists(const FigureStore& store, double viewScale) {
  deleteLists();
  base_ = glGenLists(kLists);
  if (base_ == 0) return false;
  glNewList(base_, GL_COMPILE);
  compileAxes();
  glEndList();
  glNewList(base_ + 2, GL_COMPILE);
  glNormal3f(0, 0, 1);
  glEndList();
  elements_ = &store.elements();
  total_ = elements_->size();
  viewScale_ = viewScale;
  return true;
}

bool FigureRenderer::compileMore(size_t elements) {
  if (base_ == 0 || complete_) return true;
  const size_t last = std::min(total_, compiled_ + std::max<size_t>(elements, 1));
  if (compiled_ < last) {
    const GLuint part = glGenLists(1);
    if (part == 0) return false;
    parts_.push_back(part);
    glNewList(part, GL_COMPILE);
    drawn_ += compileFigures(*elements_, compiled_, last, viewScale_, base_ + 2);
    glEndList();
    compiled_ = last;
  }
  if (compiled_ < total_) return false;
  // The figure list: the material, then the parts in store order.
  glNewList(base_ + 1, GL_COMPILE);
  figurePreamble();
  for (const GLuint part : parts_) glCallList(part);
  glEndList();
  complete_ = true;
  elements_ = nullptr;
  return true;
}

void FigureRenderer::deleteLists() {
  for (const GLuint part : parts_) glDeleteLists(part, 1);
  parts_ = {};
  if (base_ != 0) glDeleteLists(base_, kLists);
  base_ = 0;
  drawn_ = compiled_ = total_ = 0;
  complete_ = false;
  elements_ = nullptr;
}

void FigureRenderer::frame(const Viewport& viewport, const Mat4& modelView, const FrameOptions& options) const {
  // The light is fixed to the eye: its position is given with an identity model view.
  static constexpr GLfloat kLightAmbient[4] = {0.1f, 0.1f, 0.1f, 1};
  static constexpr GLfloat kLightDiffuse[4] = {0.7f, 0.7f, 0.7f, 1};
  static constexpr GLfloat kLightSpecular[4] = {0.3f, 0.3f, 0.3f, 1};
  static constexpr GLfloat kLightPosition[4] = {0, 0, 1, 0};
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular);
  glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  // Zooming scales the model view, which would scale the normals and darken every face with it.
  glEnable(GL_NORMALIZE);

  const int fullHeight = viewport.height + viewport.hiddenTop;
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixd(perspective(40, static_cast<double>(viewport.width) / (fullHeight > 0 ? fullHeight : 1), 1, 50).data());
  glViewport(0, 0, viewport.width, fullHeight);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(modelView.m.data());

  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  // Lines and points (axes included) have no normal of their own: they take one that the model
  // view turns towards the light, so that their colour is the same in every view. The figure list
  // calls this list again after faces.
  if (base_ != 0) {
    glNewList(base_ + 2, GL_COMPILE_AND_EXECUTE);
    glNormal3f(modelView.at(2, 0), modelView.at(2, 1), modelView.at(2, 2));
    glEndList();
  }

  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kGreenAmbient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kAxesSpecular);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, kShininess);
  if (options.axes && base_ != 0) glCallList(base_);

  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kGreenAmbient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kFigureSpecular);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, kShininess);
  if (options.colourMode) {
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
  }
  if (complete_) glCallList(base_ + 1);
  if (options.colourMode) glDisable(GL_COLOR_MATERIAL);
  glDisable(GL_DEPTH_TEST);
  glFlush();
}

}  // namespace kubrix::viewer
