"""tarvolin-plot's three pictures as SVG elements to put into the page."""

import io
import re

from tarvolin_plot import output  # noqa: F401  (sets up matplotlib as the pictures need)
from tarvolin_plot import positions_picture, ratings_picture, solved_picture

PICTURES = (
    ("ratings", ratings_picture, "Every rated program with its error margin, one colour per "
     "cluster."),
    ("solved", solved_picture, "The share of its positions each program solved within t "
     "seconds."),
    ("positions", positions_picture, "The positions from easiest to hardest, with how many "
     "programs solved each."),
)
_PROLOGUE = re.compile(r"\A.*?(?=<svg)", re.DOTALL)
_ID = re.compile(r'(\bid="|url\(#|href="#)([^"\)]+)')


def _inline(svg, prefix):
    """The <svg> element alone, its ids made unique in the page (the three
    pictures would otherwise share clip path names), and its size left to the
    page so that it shrinks on a narrow screen."""
    svg = _PROLOGUE.sub("", svg, count=1)
    svg = _ID.sub(lambda match: match[1] + prefix + match[2], svg)
    return re.sub(r'<svg([^>]*?) width="[^"]*" height="[^"]*"', r'<svg\1', svg, count=1)


def inline_svgs(run):
    """[(name, caption, svg text)] of the three pictures."""
    drawn = []
    for name, module, caption in PICTURES:
        buffer = io.StringIO()
        module.draw(run).savefig(buffer, format="svg", metadata={"Date": None})
        drawn.append((name, caption, _inline(buffer.getvalue(), name + "-")))
    return drawn
