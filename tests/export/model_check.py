#!/usr/bin/python3
"""The model files of kubrix-run (.glb, .3mf) read by outside tools.

    model_check.py CHECK --runner KUBRIX_RUN --scripts DIR --work DIR

  gltf_validator  the Khronos glTF validator (npm package gltf-validator, installed by
                  scripts/install-deps under /opt/kubrix-tools or where KUBRIX_GLTF_VALIDATOR points)
                  finds no error and no warning in the .glb of every script
  blender         Blender imports the .glb of every script: one object per layer in use with the
                  store's faces (a quad as two triangles), lines as loose edges, points as loose
                  vertices, every point back in Z-up coordinates, and the materials' colours of the
                  file. Skipped (status 77) when blender is not installed.
"""
import argparse
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile

SKIP = 77
failures = []


def fail(msg):
    failures.append(msg)
    print("FAILED: " + msg)


def run(cmd, timeout=300):
    return subprocess.run(cmd, capture_output=True, timeout=timeout)


def make_models(args):
    """Runs every script with -o NAME.glb and --table; returns [(name, glb path, table rows)]."""
    os.makedirs(args.work, exist_ok=True)
    out = []
    for script in sorted(os.listdir(args.scripts)):
        if not script.endswith(".kx"):
            continue
        name = script[:-3]
        glb = os.path.join(args.work, name + ".glb")
        table = os.path.join(args.work, name + ".tsv")
        r = run([args.runner, "--log-off", "-o", glb, "--table", table, os.path.join(args.scripts, script)])
        if r.returncode != 0:
            fail("%s: kubrix-run exited %d: %s" % (script, r.returncode, r.stderr.decode(errors="replace")))
            continue
        rows = [line.split("\t") for line in open(table, encoding="utf-8").read().splitlines()[1:]]
        out.append((name, glb, rows))
    return out


def glb_json(path):
    data = open(path, "rb").read()
    length = struct.unpack("<I", data[12:16])[0]
    return json.loads(data[20:20 + length])


def check_validator(args):
    node = shutil.which("node")
    module = os.environ.get("KUBRIX_GLTF_VALIDATOR", "/opt/kubrix-tools/node_modules/gltf-validator")
    if node is None or not os.path.isdir(module):
        print("FAILED: node or %s is missing (scripts/install-deps installs gltf-validator)" % module)
        sys.exit(1)
    script = (
        "const v = require(process.argv[1]); const fs = require('fs');"
        "v.validateBytes(new Uint8Array(fs.readFileSync(process.argv[2])))"
        ".then(r => console.log(JSON.stringify(r.issues)))"
        ".catch(e => { console.error(String(e)); process.exit(1); });")
    for name, glb, _ in make_models(args):
        r = run([node, "-e", script, module, glb])
        if r.returncode != 0:
            fail("%s: the validator failed: %s" % (name, r.stderr.decode(errors="replace")))
            continue
        issues = json.loads(r.stdout)
        if issues["numErrors"] or issues["numWarnings"]:
            fail("%s: %d errors, %d warnings: %s" % (name, issues["numErrors"], issues["numWarnings"],
                                                      json.dumps(issues["messages"][:5])))
        else:
            print("%s.glb: valid (%d infos, %d hints)" % (name, issues["numInfos"], issues["numHints"]))


BLENDER_SCRIPT = r'''
import bpy, json, sys
import numpy
# Debian's Blender 3.4 importer still uses numpy.bool, which numpy 1.24 removed.
if not hasattr(numpy, "bool"):
    numpy.bool = bool
args = sys.argv[sys.argv.index("--") + 1:]
bpy.ops.wm.read_factory_settings(use_empty=True)
bpy.ops.import_scene.gltf(filepath=args[0])
out = {}
for ob in bpy.data.objects:
    if ob.type != "MESH":
        continue
    me = ob.data
    face_edges = set(k for p in me.polygons for k in p.edge_keys)
    used = set(v for e in me.edges for v in e.vertices) | set(v for p in me.polygons for v in p.vertices)
    mats = []
    for m in me.materials:
        bsdf = m.node_tree.nodes.get("Principled BSDF") if m and m.use_nodes else None
        mats.append([m.name, list(bsdf.inputs["Base Color"].default_value)[:3] if bsdf else None])
    out[ob.name] = {
        "faces": len(me.polygons),
        "triangles": sum(1 for p in me.polygons if len(p.vertices) == 3),
        "loose_edges": sum(1 for e in me.edges if e.key not in face_edges),
        "loose_vertices": sum(1 for v in me.vertices if v.index not in used),
        "vertices": [list(ob.matrix_world @ v.co) for v in me.vertices],
        "materials": mats,
    }
json.dump(out, open(args[1], "w"))
'''

KIND_POINTS = {"直線": 2, "点": 1, "三角面": 3, "四角面": 4}


def check_blender(args):
    blender = shutil.which("blender")
    if blender is None:
        print("SKIPPED: blender is not installed")
        sys.exit(SKIP)
    with tempfile.NamedTemporaryFile("w", suffix=".py", delete=False) as f:
        f.write(BLENDER_SCRIPT)
        importer = f.name
    try:
        for name, glb, rows in make_models(args):
            report = glb + ".json"
            r = run([blender, "-b", "--factory-startup", "--python-exit-code", "1", "--python", importer, "--",
                     glb, report])
            if r.returncode != 0 or not os.path.exists(report):
                fail("%s: blender could not import it: %s" % (name, r.stdout.decode(errors="replace")[-2000:]))
                continue
            check_import(name, rows, json.load(open(report)), glb_json(glb))
    finally:
        os.unlink(importer)


def check_import(name, rows, objects, gltf):
    want = {}
    for row in rows:
        if row[1] != "○":
            continue
        layer = int(row[3]) if 0 <= int(row[3]) <= 255 else 0
        w = want.setdefault("Layer %d" % layer, {"triangles": 0, "loose_edges": 0, "loose_vertices": 0,
                                                  "points": [], "colours": set()})
        kind = row[2]
        w["triangles"] += {"三角面": 1, "四角面": 2}.get(kind, 0)
        w["loose_edges"] += kind == "直線"
        w["loose_vertices"] += kind == "点"
        colour = int(row[4]) if 1 <= int(row[4]) <= 255 else 0
        w["colours"].add("Color%d" % colour)
        for i in range(KIND_POINTS[kind]):
            w["points"].append([float(c) for c in row[5 + 3 * i:8 + 3 * i]])
    if sorted(objects) != sorted(want):
        fail("%s: objects %s, expected %s" % (name, sorted(objects), sorted(want)))
        return
    factors = {m["name"]: m["pbrMetallicRoughness"]["baseColorFactor"][:3] for m in gltf["materials"]}
    for layer, w in want.items():
        got = objects[layer]
        for key in ("triangles", "loose_edges", "loose_vertices"):
            if got[key] != w[key]:
                fail("%s %s: %s %d, expected %d" % (name, layer, key, got[key], w[key]))
        if got["faces"] != got["triangles"]:
            fail("%s %s: faces other than triangles" % (name, layer))
        for p in w["points"]:
            if not any(max(abs(a - b) for a, b in zip(p, v)) < 1e-4 * max(1.0, max(map(abs, p))) for v in got["vertices"]):
                fail("%s %s: point %s is not among the imported vertices" % (name, layer, p))
        names = set(m[0] for m in got["materials"])
        if names != w["colours"]:
            fail("%s %s: materials %s, expected %s" % (name, layer, sorted(names), sorted(w["colours"])))
        for material, colour in got["materials"]:
            if colour is None or max(abs(a - b) for a, b in zip(colour, factors[material])) > 1e-6:
                fail("%s %s: material %s has colour %s, the file %s" % (name, layer, material, colour,
                                                                       factors.get(material)))
    print("%s.glb: imported by Blender as %s" % (name, ", ".join(sorted(want))))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("check", choices=["gltf_validator", "blender"])
    p.add_argument("--runner", required=True)
    p.add_argument("--scripts", required=True)
    p.add_argument("--work", required=True)
    args = p.parse_args()
    {"gltf_validator": check_validator, "blender": check_blender}[args.check](args)
    if failures:
        print("%d failures" % len(failures))
        sys.exit(1)


if __name__ == "__main__":
    main()
