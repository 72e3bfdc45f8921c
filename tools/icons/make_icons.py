#!/usr/bin/python3
"""Draws Varnolt's toolbar and application icons into resources/icons/.

Each picture is drawn on a 64 x 64 canvas and scaled down to 16 px (and 32 px for @2x), so the
shapes stay crisp and antialiased. The application icon is also written for the desktop's icon
theme into resources/icons/app/: PNG files from 16 to 256 px, drawn on a canvas eight times as
large so that the big sizes stay sharp, and the same drawing as SVG for the scalable size.
Run it with a Python that has Pillow; the files it writes are committed, so building the program
needs no Python.
"""
from pathlib import Path

from PIL import Image, ImageDraw

OUT = Path(__file__).resolve().parents[2] / "resources" / "icons"
S = 64  # drawing canvas
THEME_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)  # the icon theme's fixed sizes
THEME_SCALE = 8  # the theme's PNG files are drawn on a canvas of S * THEME_SCALE

INK = (52, 62, 80, 255)
PAPER = (250, 250, 250, 255)
BLUE = (44, 120, 210, 255)
GREEN = (46, 170, 80, 255)
RED = (214, 60, 52, 255)
AMBER = (236, 170, 40, 255)
AQUA = (32, 190, 200, 255)
GREY = (150, 156, 166, 255)


def page(d, fold=True):
    d.polygon([(12, 4), (42, 4), (54, 16), (54, 60), (12, 60)], fill=PAPER, outline=INK, width=4)
    if fold:
        d.polygon([(42, 4), (42, 16), (54, 16)], fill=(220, 224, 230, 255), outline=INK, width=3)


def icon_new(d):
    page(d)
    d.ellipse((34, 34, 62, 62), fill=AMBER, outline=INK, width=3)
    d.line((48, 40, 48, 56), fill=INK, width=4)
    d.line((40, 48, 56, 48), fill=INK, width=4)


def icon_open(d):
    d.polygon([(4, 14), (24, 14), (30, 20), (58, 20), (58, 56), (4, 56)], fill=AMBER, outline=INK, width=4)
    d.polygon([(4, 56), (14, 30), (62, 30), (54, 56)], fill=(250, 206, 100, 255), outline=INK, width=4)


def icon_save(d):
    d.rounded_rectangle((6, 6, 58, 58), 6, fill=BLUE, outline=INK, width=4)
    d.rectangle((16, 8, 46, 26), fill=PAPER, outline=INK, width=3)
    d.rectangle((14, 36, 50, 56), fill=(230, 236, 246, 255), outline=INK, width=3)
    d.rectangle((36, 11, 42, 22), fill=INK)


def icon_print(d):
    d.rectangle((16, 4, 48, 26), fill=PAPER, outline=INK, width=4)
    d.rounded_rectangle((4, 22, 60, 48), 6, fill=GREY, outline=INK, width=4)
    d.rectangle((16, 38, 48, 60), fill=PAPER, outline=INK, width=4)
    d.line((22, 46, 42, 46), fill=INK, width=3)
    d.line((22, 53, 38, 53), fill=INK, width=3)
    d.ellipse((48, 28, 54, 34), fill=GREEN)


def icon_export(d):
    page(d)
    for y in (24, 33, 42):
        d.line((20, y, 44, y), fill=GREY, width=4)
    d.polygon([(30, 46), (46, 46), (46, 38), (62, 52), (46, 64), (46, 56), (30, 56)], fill=GREEN, outline=INK, width=3)


def plug(d, connected):
    d.rounded_rectangle((6, 22, 26, 42), 4, fill=GREY, outline=INK, width=4)
    d.line((26, 27, 34, 27), fill=INK, width=4)
    d.line((26, 37, 34, 37), fill=INK, width=4)
    d.line((2, 32, 6, 32), fill=INK, width=4)
    x = 36 if connected else 44
    d.rounded_rectangle((x, 20, x + 20, 44), 4, fill=GREEN if connected else RED, outline=INK, width=4)
    d.line((x + 20, 32, 63, 32), fill=INK, width=4)


def icon_connect(d):
    plug(d, True)


def icon_disconnect(d):
    plug(d, False)


def icon_start(d):
    d.ellipse((4, 4, 60, 60), fill=GREEN, outline=INK, width=4)
    d.polygon([(24, 18), (24, 46), (46, 32)], fill=PAPER)


def icon_stop(d):
    d.ellipse((4, 4, 60, 60), fill=RED, outline=INK, width=4)
    d.rectangle((21, 21, 43, 43), fill=PAPER)


def icon_settings(d):
    d.rounded_rectangle((8, 4, 56, 60), 6, fill=(236, 238, 242, 255), outline=INK, width=4)
    for y, x in ((18, 36), (32, 22), (46, 42)):
        d.line((16, y, 48, y), fill=GREY, width=4)
        d.ellipse((x - 6, y - 6, x + 6, y + 6), fill=BLUE, outline=INK, width=3)


def icon_download(d):
    d.rounded_rectangle((4, 40, 60, 60), 4, fill=GREY, outline=INK, width=4)
    d.ellipse((46, 47, 52, 53), fill=GREEN)
    d.polygon([(24, 4), (40, 4), (40, 22), (52, 22), (32, 40), (12, 22), (24, 22)], fill=BLUE, outline=INK, width=3)


def icon_saved_files(d):
    d.rectangle((20, 4, 54, 30), fill=PAPER, outline=INK, width=4)
    d.rectangle((12, 12, 46, 38), fill=PAPER, outline=INK, width=4)
    d.rounded_rectangle((4, 40, 60, 60), 4, fill=GREY, outline=INK, width=4)
    d.polygon([(26, 30), (34, 30), (34, 40), (42, 40), (30, 52), (18, 40), (26, 40)], fill=BLUE, outline=INK, width=2)


def icon_hex(d):
    d.rounded_rectangle((2, 10, 62, 54), 6, fill=(236, 238, 242, 255), outline=INK, width=4)
    # "0x" drawn with strokes: a zero and a cross.
    d.ellipse((10, 20, 28, 44), outline=BLUE, width=5)
    d.line((34, 26, 52, 44), fill=BLUE, width=5)
    d.line((52, 26, 34, 44), fill=BLUE, width=5)


def icon_control_lines(d):
    d.rectangle((2, 2, 62, 62), fill=PAPER, outline=INK, width=3)
    d.line([(6, 24), (20, 24), (20, 10), (40, 10), (40, 24), (58, 24)], fill=GREEN, width=5)
    d.line([(6, 54), (14, 54), (14, 38), (34, 38), (34, 54), (48, 54), (48, 38), (58, 38)], fill=AQUA, width=5)


def icon_timer_counter(d):
    d.ellipse((4, 8, 44, 48), fill=PAPER, outline=INK, width=4)
    d.line((24, 28, 24, 14), fill=INK, width=4)
    d.line((24, 28, 34, 34), fill=INK, width=4)
    d.rounded_rectangle((32, 36, 62, 60), 4, fill=AMBER, outline=INK, width=3)
    d.line((40, 44, 40, 54), fill=INK, width=3)
    d.line((48, 44, 48, 54), fill=INK, width=3)
    d.line((56, 44, 56, 54), fill=INK, width=3)


def icon_environment(d):
    d.rounded_rectangle((4, 8, 60, 56), 6, fill=(236, 238, 242, 255), outline=INK, width=4)
    d.rectangle((4, 8, 60, 20), fill=BLUE, outline=INK, width=4)
    d.rounded_rectangle((12, 28, 24, 40), 2, fill=PAPER, outline=INK, width=3)
    d.line((14, 34, 18, 38, 23, 29), fill=GREEN, width=3)
    d.line((30, 34, 52, 34), fill=GREY, width=4)
    d.rounded_rectangle((12, 42, 24, 54), 2, fill=PAPER, outline=INK, width=3)
    d.line((30, 48, 52, 48), fill=GREY, width=4)


def icon_about(d):
    d.ellipse((4, 4, 60, 60), fill=BLUE, outline=INK, width=4)
    d.ellipse((28, 14, 36, 22), fill=PAPER)
    d.rounded_rectangle((28, 27, 36, 50), 2, fill=PAPER)


def icon_app(d):
    # The analyzer: a handheld body with a screen showing SD and RD traces.
    d.rounded_rectangle((8, 2, 56, 62), 8, fill=(60, 72, 92, 255), outline=INK, width=3)
    d.rounded_rectangle((13, 8, 51, 38), 3, fill=(16, 24, 32, 255))
    d.line([(16, 18), (22, 18), (22, 12), (30, 12), (30, 18), (36, 18), (36, 12), (48, 12)], fill=(70, 255, 70, 255), width=3)
    d.line([(16, 32), (26, 32), (26, 26), (34, 26), (34, 32), (40, 32), (40, 26), (48, 26)], fill=(32, 244, 244, 255), width=3)
    for x in (18, 32, 46):
        d.ellipse((x - 5, 44, x + 5, 54), fill=(200, 206, 216, 255))


ICONS = {
    57600: icon_new, 57601: icon_open, 57603: icon_save, 57607: icon_print, 32771: icon_export,
    32792: icon_connect, 32793: icon_disconnect, 32794: icon_start, 32795: icon_stop,
    32781: icon_settings, 32799: icon_download, 32797: icon_saved_files, 32776: icon_hex,
    32777: icon_control_lines, 32839: icon_timer_counter, 32809: icon_environment,
    57664: icon_about,
}


class ScaledDraw:
    """The drawing calls of ImageDraw in canvas units, drawn SCALE times as large."""

    def __init__(self, draw, scale):
        self.draw = draw
        self.scale = scale

    def _points(self, xy):
        return [v * self.scale for v in xy] if isinstance(xy[0], (int, float)) else [
            (x * self.scale, y * self.scale) for x, y in xy]

    def _width(self, kw):
        if "width" in kw:
            kw["width"] = kw["width"] * self.scale
        return kw

    def rounded_rectangle(self, box, radius, **kw):
        self.draw.rounded_rectangle(self._points(box), radius * self.scale, **self._width(kw))

    def __getattr__(self, name):
        # ellipse, line, polygon, rectangle: coordinates first, then keyword arguments.
        call = getattr(self.draw, name)
        return lambda xy, **kw: call(self._points(xy), **self._width(kw))


class SvgDraw:
    """The drawing calls the application icon makes, written as SVG elements in canvas units.

    Like ImageDraw, a box includes its last pixel and an outline lies inside the shape."""

    def __init__(self):
        self.elements = []

    @staticmethod
    def _paint(fill=None, outline=None, width=1):
        colour = lambda c: "#%02x%02x%02x" % c[:3]
        paint = f'fill="{colour(fill)}"' if fill else 'fill="none"'
        if outline:
            paint += f' stroke="{colour(outline)}" stroke-width="{width}"'
        return paint, (width if outline else 0)

    def rounded_rectangle(self, box, radius, fill=None, outline=None, width=1):
        paint, w = self._paint(fill, outline, width)
        x0, y0, x1, y1 = box
        self.elements.append(
            f'<rect x="{x0 + w / 2}" y="{y0 + w / 2}" width="{x1 + 1 - x0 - w}" '
            f'height="{y1 + 1 - y0 - w}" rx="{max(radius - w / 2, 0)}" {paint}/>')

    def ellipse(self, box, fill=None, outline=None, width=1):
        paint, w = self._paint(fill, outline, width)
        x0, y0, x1, y1 = box
        self.elements.append(
            f'<ellipse cx="{(x0 + x1 + 1) / 2}" cy="{(y0 + y1 + 1) / 2}" '
            f'rx="{(x1 + 1 - x0 - w) / 2}" ry="{(y1 + 1 - y0 - w) / 2}" {paint}/>')

    def line(self, points, fill=None, width=1):
        colour = "#%02x%02x%02x" % fill[:3]
        text = " ".join(f"{x + 0.5},{y + 0.5}" for x, y in points)
        self.elements.append(
            f'<polyline points="{text}" fill="none" stroke="{colour}" stroke-width="{width}"/>')

    def text(self):
        body = "\n  ".join(self.elements)
        return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{S}" height="{S}" '
                f'viewBox="0 0 {S} {S}">\n  {body}\n</svg>\n')


def render(draw, size, scale=1):
    image = Image.new("RGBA", (S * scale, S * scale), (0, 0, 0, 0))
    draw(ScaledDraw(ImageDraw.Draw(image), scale) if scale > 1 else ImageDraw.Draw(image))
    return image.resize((size, size), Image.LANCZOS)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for command, draw in ICONS.items():
        render(draw, 16).save(OUT / f"cmd{command}.png")
        render(draw, 32).save(OUT / f"cmd{command}@2x.png")
    render(icon_app, 32).save(OUT / "varnolt.png")
    render(icon_app, 64).save(OUT / "varnolt@2x.png")
    theme = OUT / "app"
    theme.mkdir(exist_ok=True)
    for size in THEME_SIZES:
        render(icon_app, size, THEME_SCALE).save(theme / f"varnolt-{size}.png")
    svg = SvgDraw()
    icon_app(svg)
    (theme / "varnolt.svg").write_text(svg.text())


if __name__ == "__main__":
    main()
