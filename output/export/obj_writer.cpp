// Wavefront OBJ: a vertex pass ("v", each distinct point once, in order of first use) and an element
// pass ("f" for faces, "l" for lines, "p" for points, 1-based). Shared vertices make a closed solid
// one connected mesh.
#include <cstring>
#include <vector>

#include "output/export/writers.h"

namespace kubrix {

namespace {

// Points by exact value (-0 and 0 alike) to their 1-based vertex numbers: open addressing over a
// power-of-two table, grown at half load.
class VertexIndex {
 public:
  // Starts small: points repeat (a closed mesh uses each several times), and a table no bigger than
  // the distinct points needs stays in the processor's caches longer.
  VertexIndex() { slots_.assign(1024, 0); }
  // The vertex number of p; isNew tells whether it was just added.
  uint32_t find(const Point3& p, bool& isNew) {
    const Key k = keyOf(p);
    size_t i = hash(k) & (slots_.size() - 1);
    while (slots_[i] != 0) {
      if (keys_[slots_[i] - 1] == k) return isNew = false, slots_[i];
      i = (i + 1) & (slots_.size() - 1);
    }
    keys_.push_back(k);
    const auto n = static_cast<uint32_t>(keys_.size());
    slots_[i] = n;
    if (keys_.size() * 2 > slots_.size()) grow();
    isNew = true;
    return n;
  }
  // Asks the processor to fetch the table slot of p ahead of its lookup: the table outgrows the
  // caches on big stores, and lookups of neighbouring elements are independent of each other.
  void prefetch(const Point3& p) const { __builtin_prefetch(&slots_[hash(keyOf(p)) & (slots_.size() - 1)]); }

 private:
  struct Key {
    uint64_t x, y, z;
    bool operator==(const Key&) const = default;
  };
  static uint64_t bitsOf(double v) {
    v += 0.0;  // -0 becomes 0
    uint64_t b;
    memcpy(&b, &v, sizeof b);
    return b;
  }
  static Key keyOf(const Point3& p) { return {bitsOf(p.x), bitsOf(p.y), bitsOf(p.z)}; }
  static size_t hash(const Key& k) {
    uint64_t h = k.x * 0x9E3779B97F4A7C15ull;
    h = (h ^ (h >> 29) ^ k.y) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 32) ^ k.z) * 0x94D049BB133111EBull;
    return static_cast<size_t>(h ^ (h >> 31));
  }
  void grow() {
    slots_.assign(slots_.size() * 2, 0);
    for (uint32_t n = 1; n <= keys_.size(); ++n) {
      size_t i = hash(keys_[n - 1]) & (slots_.size() - 1);
      while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
      slots_[i] = n;
    }
  }
  std::vector<uint32_t> slots_;
  std::vector<Key> keys_;
};

}  // namespace

void writeObj(const ExportJob& job, TextWriter& w) {
  w.put("# ");
  w.line(job.fileName);
  w.line("#");
  const auto& elements = job.store.elements();
  size_t refs = 0;
  for (const FigureElement& e : elements)
    if (e.live) refs += static_cast<size_t>(pointCount(e));
  VertexIndex index;
  std::vector<uint32_t> numbers;  // the vertex numbers of every live element's points, in order
  numbers.reserve(refs);
  constexpr size_t kAhead = 8;  // elements
  for (size_t k = 0; k < elements.size(); ++k) {
    if (k + kAhead < elements.size()) {
      const FigureElement& ahead = elements[k + kAhead];
      for (int i = 0; i < pointCount(ahead); ++i) index.prefetch(ahead.p[static_cast<size_t>(i)]);
    }
    const FigureElement& e = elements[k];
    if (!e.live) continue;
    if (!w.ok()) return;  // the file is lost anyway: stop formatting
    for (int i = 0; i < pointCount(e); ++i) {
      const Point3& p = e.p[static_cast<size_t>(i)];
      bool isNew = false;
      numbers.push_back(index.find(p, isNew));
      if (!isNew) continue;
      w.put("v ");
      w.shortest(p.x);
      w.put(' ');
      w.shortest(p.y);
      w.put(' ');
      w.shortest(p.z);
      w.crlf();
    }
  }
  size_t next = 0;
  for (const FigureElement& e : elements) {
    if (!e.live) continue;
    const int n = pointCount(e);
    if (n == 0) continue;
    w.put(e.kind == kKindLine ? "l" : e.kind == kKindPoint ? "p" : "f");
    for (int i = 0; i < n; ++i) {
      w.put(' ');
      w.integer(numbers[next++]);
    }
    w.crlf();
  }
}

}  // namespace kubrix
