#!/usr/bin/python3
"""Export files of kubrix-run read back by third-party readers from Debian.

    read_back.py CHECK --runner KUBRIX_RUN --scripts DIR --expected DIR --work DIR

Runs kubrix-run on every script of --scripts with -o for all six formats (and --table for the
store), then one CHECK:

  ezdxf         python3-ezdxf reads every .dxf, its auditor finds no error, entities match the store
  assimp        assimp-utils imports every .stl .obj .dae .x3d with the expected primitives
  tovrmlx3d     view3dscene's converter reads every .wrl and .x3d; the points it reads are the store's
                lines (and X3D face outlines) turned into the Y-up axes (x, z, -y) / 1000
  admesh        admesh reads every .stl that has facets, with the expected facet count and size
  xmllint       libxml2-utils finds every .x3d and .dae well-formed; COLLADA has no empty library
                and every '#id' it refers to exists
  closed_solid  the closed box (box.kx) as STL and OBJ is a closed, consistently oriented mesh of
                positive volume with outward normals
  closed_solids nine primitive solids (solids.kx) as STL and OBJ are closed, consistently oriented
                parts; admesh agrees on the parts, finds nothing to fix and the same volume
  cli_golden    the files of small.kx and box.kx equal tests/regression/export byte for byte
                (COLLADA with its creation and modification dates checked for form only)

A reader that is not installed fails the check (scripts/install-deps installs them all).
"""
import argparse
import math
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

EXTS = [".dxf", ".stl", ".obj", ".wrl", ".x3d", ".dae"]
failures = []


def fail(msg):
    failures.append(msg)
    print("FAILED: " + msg)


def check(cond, msg):
    if not cond:
        fail(msg)
    return cond


def need(program):
    path = shutil.which(program)
    if path is None:
        print("FAILED: %s is not installed (scripts/install-deps installs it)" % program)
        sys.exit(1)
    return path


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, timeout=120, **kw)


class Element:
    def __init__(self, cells):
        self.live = cells[1] == "○"
        self.kind = {"直線": 1, "点": 2, "三角面": 11, "四角面": 12}[cells[2]]
        self.layer = int(cells[3])
        self.colour = int(cells[4])
        c = [float(v) for v in cells[5:17]]
        n = {1: 2, 2: 1, 11: 3, 12: 4}[self.kind]
        self.points = [tuple(c[3 * i:3 * i + 3]) for i in range(n)]


def export_all(args, name):
    """Runs one script; returns (base path of its exports, live elements of its store)."""
    base = os.path.join(args.work, name)
    outs = []
    for e in EXTS:
        if os.path.exists(base + e):
            os.remove(base + e)
        outs += ["-o", base + e]
    r = run([args.runner, "--log-off", "--table", base + ".tsv"] + outs + [os.path.join(args.scripts, name + ".kx")])
    if r.returncode != 0:
        fail("kubrix-run %s.kx exited %d: %s" % (name, r.returncode, r.stderr.decode(errors="replace")))
        sys.exit(1)
    with open(base + ".tsv", encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f.readlines()[1:]]
    return base, [el for el in (Element(r) for r in rows) if el.live]


def close(a, b, tol):
    return all(abs(x - y) <= tol * max(1.0, abs(y)) for x, y in zip(a, b))


# ---------------------------------------------------------------------------------------------
def check_ezdxf(base, store):
    try:
        import ezdxf
    except ImportError:
        print("FAILED: python3-ezdxf is not installed (scripts/install-deps installs it)")
        sys.exit(1)
    doc = ezdxf.readfile(base + ".dxf")
    check(doc.dxfversion == "AC1009", "%s.dxf: version %s" % (base, doc.dxfversion))
    auditor = doc.audit()
    check(not auditor.errors, "%s.dxf: ezdxf auditor errors: %s" % (base, [str(e) for e in auditor.errors]))
    entities = list(doc.modelspace())
    if not check(len(entities) == len(store), "%s.dxf: %d entities for %d live elements" %
                 (base, len(entities), len(store))):
        return
    for ent, el in zip(entities, store):
        want = {1: "LINE", 2: "POINT", 11: "3DFACE", 12: "3DFACE"}[el.kind]
        check(ent.dxftype() == want, "%s.dxf: %s for %s" % (base, ent.dxftype(), want))
        check(ent.dxf.layer == str(el.layer), "%s.dxf: layer %s, want %d" % (base, ent.dxf.layer, el.layer))
        check(ent.dxf.color == el.colour, "%s.dxf: colour %s, want %d" % (base, ent.dxf.color, el.colour))
        check(doc.layers.has_entry(ent.dxf.layer), "%s.dxf: layer %s not in the table" % (base, ent.dxf.layer))
        if want == "LINE":
            got = [tuple(ent.dxf.start), tuple(ent.dxf.end)]
        elif want == "POINT":
            got = [tuple(ent.dxf.location)]
        else:
            got = [tuple(ent.dxf.get("vtx%d" % i)) for i in range(4)]
            if el.kind == 11:
                check(close(got[3], el.points[2], 1e-10), "%s.dxf: triangle's fourth corner" % base)
                got = got[:3]
        for g, p in zip(got, el.points):
            check(close(g, p, 1e-10), "%s.dxf: point %s, want %s" % (base, g, p))
    descriptions = {lt.dxf.name: lt.dxf.description for lt in doc.linetypes}
    check(descriptions.get("CENTER") == "一点鎖線", "%s.dxf: line type texts %s" % (base, descriptions))


# ---------------------------------------------------------------------------------------------
def assimp_info(path):
    r = run([need("assimp"), "info", path, "-r"])
    out = r.stdout.decode(errors="replace")
    info = {}
    for line in out.splitlines():
        m = re.match(r"^(Meshes|Faces|Vertices|Primitive Types):\s*(.*)$", line)
        if m and m.group(1) not in info:
            info[m.group(1)] = m.group(2).strip()
    ok = r.returncode == 0 and "Importing file ...                   OK" in out
    return ok, info, out + r.stderr.decode(errors="replace")


def check_assimp(base, store):
    lines = sum(1 for e in store if e.kind == 1)
    faces = [e for e in store if e.kind in (11, 12)]
    triangles = sum(1 if e.kind == 11 else 2 for e in faces)
    for ext in [".stl", ".obj", ".dae", ".x3d"]:
        ok, info, out = assimp_info(base + ext)
        if not check(ok, "%s%s: assimp could not import it:\n%s" % (base, ext, out[-2000:])):
            continue
        check("ERROR" not in out, "%s%s: assimp reported an error:\n%s" % (base, ext, out[-2000:]))
        if ext == ".stl" and faces:
            check(info.get("Faces") == str(triangles), "%s.stl: %s faces, want %d" % (base, info.get("Faces"), triangles))
            check(info.get("Primitive Types") == "triangles", "%s.stl: %s" % (base, info.get("Primitive Types")))
        if ext == ".obj":
            want = len(store) if store else 0
            check(info.get("Faces") == str(want), "%s.obj: %s faces, want %d" % (base, info.get("Faces"), want))
        if ext == ".dae" and lines:
            check(info.get("Faces") == str(lines), "%s.dae: %s faces, want %d lines" % (base, info.get("Faces"), lines))
            check(info.get("Primitive Types") == "lines", "%s.dae: %s" % (base, info.get("Primitive Types")))
        if ext == ".x3d" and (lines or faces):
            check(int(info.get("Meshes", "0")) > 0, "%s.x3d: no meshes" % base)


# ---------------------------------------------------------------------------------------------
def y_up(p):
    return (p[0] * 0.001, p[2] * 0.001, -(p[1] * 0.001))


def x3d_line_sets(xml_text):
    """(points, coordIndex) of every IndexedLineSet in an X3D XML text."""
    root = ET.fromstring(xml_text)
    sets = []
    for ils in root.iter("IndexedLineSet"):
        coord = ils.find("Coordinate")
        nums = [float(v) for v in coord.get("point").replace(",", " ").split()]
        pts = [tuple(nums[i:i + 3]) for i in range(0, len(nums), 3)]
        index = [int(v) for v in ils.get("coordIndex").replace(",", " ").split()]
        sets.append((pts, index))
    return sets


def check_tovrmlx3d(base, store):
    tool = need("tovrmlx3d")
    for ext in [".wrl", ".x3d"]:
        r = run([tool, base + ext, "--encoding=xml"])
        err = r.stderr.decode(errors="replace")
        # The file names no version on its X3D element (the DTD fixes it); the converter says so.
        err = "\n".join(l for l in err.splitlines() if "Missing X3D version number" not in l)
        check(r.returncode == 0 and not err.strip(), "%s%s: tovrmlx3d: %d %s" % (base, ext, r.returncode, err))
        sets = x3d_line_sets(r.stdout.decode())
        # Expected outlines in the order of the file: per layer its lines (and, in X3D, its faces).
        want = []
        for layer in range(256):
            ls = [e for e in store if e.layer == layer and e.kind == 1]
            fs = [e for e in store if e.layer == layer and e.kind in (11, 12)]
            if ls:
                want.append([e.points for e in ls])
            if ext == ".x3d" and fs:
                want.append([e.points for e in fs])
        if not check(len(sets) == len(want), "%s%s: %d line sets, want %d" % (base, ext, len(sets), len(want))):
            continue
        for (pts, index), elements in zip(sets, want):
            flat = [y_up(p) for el in elements for p in el]
            check(len(pts) == len(flat), "%s%s: %d points, want %d" % (base, ext, len(pts), len(flat)))
            for got, p in zip(pts, flat):
                check(close(got, p, 1e-6), "%s%s: point %s, want %s" % (base, ext, got, p))
            polylines = [[]]
            for i in index:
                if i == -1:
                    polylines.append([])
                else:
                    polylines[-1].append(i)
            polylines = [p for p in polylines if p]
            check(len(polylines) == len(elements), "%s%s: %d polylines for %d elements" %
                  (base, ext, len(polylines), len(elements)))
            k = 0
            for poly, el in zip(polylines, elements):
                n = len(el)
                want_poly = list(range(k, k + n)) + ([k] if n > 2 else [])
                check(poly == want_poly, "%s%s: polyline %s, want %s" % (base, ext, poly, want_poly))
                k += n


# ---------------------------------------------------------------------------------------------
def check_admesh(base, store):
    tool = need("admesh")
    faces = [e for e in store if e.kind in (11, 12)]
    triangles = sum(1 if e.kind == 11 else 2 for e in faces)
    if not faces:
        return  # a solid without facets: admesh refuses any such file as empty
    r = run([tool, base + ".stl"])
    out = r.stdout.decode(errors="replace")
    if not check(r.returncode == 0 and "ASCII STL file" in out, "%s.stl: admesh: %d %s" %
                 (base, r.returncode, out + r.stderr.decode(errors="replace"))):
        return
    m = re.search(r"Number of facets\s*:\s*(\d+)", out)
    check(m and int(m.group(1)) == triangles, "%s.stl: admesh read %s facets, want %d" %
          (base, m and m.group(1), triangles))
    if faces:
        xs = [p[0] for e in faces for p in e.points]
        m = re.search(r"Min X =\s*(\S+), Max X =\s*(\S+)", out)
        check(m and abs(float(m.group(1)) - min(xs)) < 1e-5 and abs(float(m.group(2)) - max(xs)) < 1e-5,
              "%s.stl: admesh size %s" % (base, m and m.group(0)))


# ---------------------------------------------------------------------------------------------
def check_xmllint(base, store):
    tool = need("xmllint")
    for ext in [".x3d", ".dae"]:
        r = run([tool, "--nonet", "--noout", base + ext])
        check(r.returncode == 0 and not r.stderr, "%s%s: xmllint: %s" % (base, ext, r.stderr.decode(errors="replace")))
    ns = "{http://www.collada.org/2005/11/COLLADASchema}"
    root = ET.parse(base + ".dae").getroot()
    check(root.tag == ns + "COLLADA" and root.get("version") == "1.4.1", "%s.dae: root %s" % (base, root.tag))
    ids = {e.get("id") for e in root.iter() if e.get("id")}
    for e in root.iter():
        # Every library needs an entry, a visual scene a node.
        if e.tag.startswith(ns + "library_"):
            check(len(e) > 0, "%s.dae: empty %s" % (base, e.tag[len(ns):]))
        if e.tag == ns + "visual_scene":
            check(len(e.findall(ns + "node")) > 0, "%s.dae: visual scene without node" % base)
        for attr in ("url", "source", "target"):
            ref = e.get(attr)
            if ref and ref.startswith("#"):
                check(ref[1:] in ids, "%s.dae: %s refers to missing %s" % (base, e.tag[len(ns):], ref))
    for a in root.iter(ns + "float_array"):
        check(len(a.text.split()) == int(a.get("count")), "%s.dae: %s count" % (base, a.get("id")))
    for tag in ("created", "modified"):
        t = root.find("%sasset/%s%s" % (ns, ns, tag))
        check(t is not None and re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", t.text or ""),
              "%s.dae: %s %s" % (base, tag, t is not None and t.text))


# ---------------------------------------------------------------------------------------------
def stl_triangles(path):
    tris, normals = [], []
    cur = None
    with open(path, encoding="ascii", newline="") as f:
        text = f.read()
    check("\n" not in text.replace("\r\n", ""), "%s: line ends other than CR LF" % path)
    for line in text.split("\r\n"):
        w = line.split()
        if w[:2] == ["facet", "normal"]:
            normals.append(tuple(float(v) for v in w[2:5]))
            cur = []
        elif w[:1] == ["vertex"]:
            cur.append(tuple(float(v) for v in w[1:4]))
            if len(cur) == 3:
                tris.append(cur)
    return tris, normals


def obj_faces(path):
    verts, faces = [], []
    with open(path, encoding="ascii", newline="") as f:
        for line in f.read().split("\r\n"):
            w = line.split()
            if w[:1] == ["v"]:
                verts.append(tuple(float(v) for v in w[1:4]))
            elif w[:1] == ["f"]:
                idx = [int(v) - 1 for v in w[1:]]
                faces.append([verts[i] for i in idx])
    return verts, faces


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def check_closed(name, polygons, want_volume):
    """Every edge used once in each direction (closed and consistently oriented); the volume, which must
    equal want_volume or, when that is None, be positive. Returns the volume."""
    edges = {}
    volume = 0.0
    for poly in polygons:
        for i in range(len(poly)):
            a, b = poly[i], poly[(i + 1) % len(poly)]
            edges[(a, b)] = edges.get((a, b), 0) + 1
        for i in range(1, len(poly) - 1):
            volume += dot(poly[0], cross(poly[i], poly[i + 1])) / 6.0
    for (a, b), n in edges.items():
        check(n == 1, "%s: edge %s-%s used %d times in one direction" % (name, a, b, n))
        check(edges.get((b, a)) == 1, "%s: edge %s-%s has no opposite (open or flipped)" % (name, a, b))
    if want_volume is None:
        check(volume > 0, "%s: volume %g is not positive" % (name, volume))
    else:
        check(abs(volume - want_volume) < 1e-9 * want_volume, "%s: volume %g, want %g" % (name, volume, want_volume))
    return volume


def check_closed_solid(args):
    base, store = export_all(args, "box")
    tris, normals = stl_triangles(base + ".stl")
    check(len(tris) == 12, "box.stl: %d facets" % len(tris))
    check_closed("box.stl", tris, 6000.0)
    for t, n in zip(tris, normals):
        c = cross(sub(t[1], t[0]), sub(t[2], t[0]))
        length = math.sqrt(dot(c, c))
        check(abs(dot(n, n) - 1) < 1e-12 and dot(n, c) / length > 1 - 1e-12, "box.stl: normal %s of %s" % (n, t))
        centre = tuple(sum(p[i] for p in t) / 3 for i in range(3))
        check(dot(n, sub(centre, (5, 10, 15))) > 0, "box.stl: normal %s points inward" % (n,))
    verts, faces = obj_faces(base + ".obj")
    check(len(verts) == 8 and len(faces) == 6, "box.obj: %d vertices, %d faces" % (len(verts), len(faces)))
    check_closed("box.obj", faces, 6000.0)
    r = run([need("admesh"), base + ".stl"])
    out = r.stdout.decode(errors="replace")
    for key, want in [("Number of parts", "1"), ("Backwards edges", "0"), ("Normals fixed", "0"),
                      ("Facets reversed", "0"), ("Edges fixed", "0"), ("Total disconnected facets", "0")]:
        m = re.search(re.escape(key) + r"\s*:\s*(\d+)", out)
        check(m and m.group(1) == want, "box.stl: admesh %s = %s, want %s" % (key, m and m.group(1), want))
    m = re.search(r"Volume\s*:\s*(\S+)", out)
    check(m and abs(float(m.group(1)) - 6000) < 1e-3, "box.stl: admesh volume %s" % (m and m.group(1)))


def check_closed_solids(args):
    """Nine primitive solids (solids.kx) as STL and OBJ: each a closed, consistently oriented part;
    admesh finds nine parts, nothing to fix and the volume the faces enclose."""
    base, store = export_all(args, "solids")
    tris, _ = stl_triangles(base + ".stl")
    volume = check_closed("solids.stl", tris, None)
    verts, faces = obj_faces(base + ".obj")
    check(len(faces) == len(store), "solids.obj: %d faces for %d elements" % (len(faces), len(store)))
    check_closed("solids.obj", faces, volume)
    r = run([need("admesh"), base + ".stl"])
    out = r.stdout.decode(errors="replace")
    for key, want in [("Number of parts", "9"), ("Backwards edges", "0"), ("Normals fixed", "0"),
                      ("Facets reversed", "0"), ("Edges fixed", "0"), ("Total disconnected facets", "0"),
                      ("Degenerate facets", "0")]:
        m = re.search(re.escape(key) + r"\s*:\s*(\d+)", out)
        check(m and m.group(1) == want, "solids.stl: admesh %s = %s, want %s" % (key, m and m.group(1), want))
    m = re.search(r"Volume\s*:\s*(\S+)", out)
    check(m and abs(float(m.group(1)) - volume) < 1e-3 * volume, "solids.stl: admesh volume %s, want %g" %
          (m and m.group(1), volume))


def check_cli_golden(args):
    date = re.compile(rb"  <(created|modified)>\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ</(created|modified)>\r\n")
    for name, exts in [("small", EXTS), ("box", [".stl", ".obj"])]:
        base, _ = export_all(args, name)
        for ext in exts:
            with open(base + ext, "rb") as f:
                got = f.read()
            with open(os.path.join(args.expected, name + ext), "rb") as f:
                want = f.read()
            if ext == ".dae":
                check(len(date.findall(got)) == 2, "%s%s: creation and modification dates" % (name, ext))
                got, want = date.sub(b"<date/>", got), date.sub(b"<date/>", want)
            check(got == want, "%s%s differs from %s" % (name, ext, os.path.join(args.expected, name + ext)))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("check")
    p.add_argument("--runner", required=True)
    p.add_argument("--scripts", required=True)
    p.add_argument("--expected", required=True)
    p.add_argument("--work", required=True)
    args = p.parse_args()
    os.makedirs(args.work, exist_ok=True)
    per_store = {"ezdxf": check_ezdxf, "assimp": check_assimp, "tovrmlx3d": check_tovrmlx3d,
                 "admesh": check_admesh, "xmllint": check_xmllint}
    if args.check in per_store:
        scripts = sorted(f[:-3] for f in os.listdir(args.scripts) if f.endswith(".kx"))
        check(len(scripts) >= 5, "too few scripts in %s" % args.scripts)
        for name in scripts:
            base, store = export_all(args, name)
            per_store[args.check](base, store)
            print("checked %s with %s" % (name, args.check))
    elif args.check == "closed_solid":
        check_closed_solid(args)
    elif args.check == "closed_solids":
        check_closed_solids(args)
    elif args.check == "cli_golden":
        check_cli_golden(args)
    else:
        print("unknown check " + args.check)
        return 2
    print("%s: %s" % (args.check, "%d failures" % len(failures) if failures else "ok"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
