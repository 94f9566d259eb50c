#!/usr/bin/env python3
"""Renders the application icon's PNG sizes from its SVG (run by hand when the
SVG changes): python3 tools/makeicon.py.  Uses the system's librsvg and cairo
through ctypes, so nothing beyond Debian's base libraries is needed."""
import ctypes
import ctypes.util
import os

ICON = "io.github.pellbrook.Pellbrook"
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "dist", "linux", "icons", "hicolor")

rsvg = ctypes.CDLL(ctypes.util.find_library("rsvg-2") or "librsvg-2.so.2")
cairo = ctypes.CDLL(ctypes.util.find_library("cairo") or "libcairo.so.2")
rsvg.rsvg_handle_new_from_file.restype = ctypes.c_void_p
rsvg.rsvg_handle_new_from_file.argtypes = [ctypes.c_char_p, ctypes.c_void_p]
rsvg.rsvg_handle_render_cairo.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
cairo.cairo_image_surface_create.restype = ctypes.c_void_p
cairo.cairo_create.restype = ctypes.c_void_p
cairo.cairo_create.argtypes = [ctypes.c_void_p]
cairo.cairo_scale.argtypes = [ctypes.c_void_p, ctypes.c_double, ctypes.c_double]
cairo.cairo_surface_write_to_png.argtypes = [ctypes.c_void_p, ctypes.c_char_p]
cairo.cairo_destroy.argtypes = [ctypes.c_void_p]
cairo.cairo_surface_destroy.argtypes = [ctypes.c_void_p]

svg = os.path.join(HERE, "scalable", "apps", ICON + ".svg")
handle = rsvg.rsvg_handle_new_from_file(svg.encode(), None)
if not handle:
    raise SystemExit("cannot read " + svg)
for size in (48, 256):
    surface = cairo.cairo_image_surface_create(0, size, size)   # CAIRO_FORMAT_ARGB32
    cr = cairo.cairo_create(surface)
    cairo.cairo_scale(cr, size / 256.0, size / 256.0)
    rsvg.rsvg_handle_render_cairo(handle, cr)
    out = os.path.join(HERE, "%dx%d" % (size, size), "apps", ICON + ".png")
    cairo.cairo_surface_write_to_png(surface, out.encode())
    cairo.cairo_destroy(cr)
    cairo.cairo_surface_destroy(surface)
    print(out)
