"""Reads a section drawing written by the DXF export with ezdxf: the file must
load without recovery errors, pass the audit, and hold the entities the
export wrote where it wrote them, inside the extents it states.

usage: dxf_audit.py <orv_core_section_tests> <drawing.dxf>
The test program writes the drawing (its audit sample) to the given path.
"""
import os
import subprocess
import sys

import ezdxf  # noqa: F401  (the import is the availability check)
from ezdxf import bbox, recover


def fail(message):
    print("dxf_audit: " + message)
    sys.exit(1)


def main():
    tests, path = sys.argv[1], sys.argv[2]
    if os.path.exists(path):
        os.remove(path)
    env = dict(os.environ, ORV_DXF_AUDIT_FILE=path)
    run = subprocess.run([tests, "--gtest_filter=DxfExport.AuditSampleIsWritten"], env=env,
                         capture_output=True, text=True)
    if run.returncode != 0 or not os.path.exists(path):
        fail("the test program did not write the drawing:\n" + run.stdout + run.stderr)

    _, loading = recover.readfile(path)
    if loading.has_errors:
        fail("loading: " + "; ".join(e.message for e in loading.errors))
    # The regular reader takes the code page from $DWGCODEPAGE alone (the
    # recovering one also wants $ACADVER, which an R12 drawing need not have).
    doc = ezdxf.readfile(path)
    audit = doc.audit()
    if audit.has_errors:
        fail("audit: " + "; ".join(e.message for e in audit.errors))
    if doc.dxfversion != "AC1009":
        fail("not an R12 drawing: " + doc.dxfversion)

    msp = doc.modelspace()
    # Every entity (the depth reach far below the section too) inside the
    # extents (three decimals), which are at most half a unit wider.
    low, high = doc.header["$EXTMIN"], doc.header["$EXTMAX"]
    drawn = bbox.extents(msp)
    for a in (0, 1):
        if not (-0.0006 < drawn.extmin[a] - low[a] < 0.5 and -0.0006 < high[a] - drawn.extmax[a] < 0.5):
            fail("extents %s .. %s, entities %s .. %s" % (low, high, drawn.extmin, drawn.extmax))
    axis = msp.query('LINE[layer=="osa_X"]')
    if not axis:
        fail("no chainage axis")
    start, end = axis[0].dxf.start, axis[0].dxf.end
    # Frame edges -15 .. 95 m, drawn at a fifth of the chainage, at 190 m.
    if (round(start.x, 3), round(end.x, 3), round(start.y, 3)) != (-3.0, 19.0, 190.0):
        fail("chainage axis at %s .. %s" % (start, end))

    titles = [t.dxf.text for t in msp.query('TEXT[layer=="nadpisy"]')]
    if titles != ["Geologicko-geofyzikální řez podle VES", "lokalita: Žďár, profil: P1"]:
        fail("titles %r" % titles)
    rho = [t.dxf.text for t in msp.query('TEXT[layer=="rezistivita"]')]
    if rho[:2] != ["123", "300"]:
        fail("resistivities %r" % rho)
    names = msp.query('TEXT[layer=="jmeno_VES"]')
    if len(names) != 3 or names[0].dxf.rotation != 90.0 or names[0].dxf.halign != 0:
        fail("point names")

    lines = msp.query('POLYLINE[layer=="propojeni_vrstev_VES"]')
    if len(lines) != 1:
        fail("%d HBV polylines" % len(lines))
    vertices = [(round(v.dxf.location.x, 3), round(v.dxf.location.y, 3))
                for v in lines[0].vertices]
    # The line comes in from -40 m: its first vertex lies on the left edge.
    if vertices != [(-3.0, 245.375), (8.0, 244.0), (16.0, 247.0)]:
        fail("HBV vertices %r" % vertices)
    surface = msp.query('POLYLINE[layer=="povrch_terenu_dle_VES"]')
    if len(surface) != 1 or len(list(surface[0].vertices)) != 3:
        fail("surface polyline")
    if surface[0].dxf.default_start_width != 0.015:
        fail("surface width %r" % surface[0].dxf.default_start_width)
    print("dxf_audit: %d entities read back without errors" % len(msp))


if __name__ == "__main__":
    main()
