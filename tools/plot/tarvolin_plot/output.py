"""Writing a picture whole or not at all."""

import io
import os
import warnings

import matplotlib

matplotlib.use("Agg")
matplotlib.rcParams.update(
    {
        # Text stays text in the SVG: searchable, and sharp at any size.
        "svg.fonttype": "none",
        # The same run gives the same file.
        "svg.hashsalt": "tarvolin",
        "font.family": "DejaVu Sans",
        "font.size": 10,
    }
)

PNG_DPI = 100

# A name in a script the font lacks is drawn as a box; that is no reason to
# fill the terminal with warnings.
warnings.filterwarnings("ignore", message="Glyph .* missing from")


class OutputError(Exception):
    """A picture that could not be written; the message names it."""


def make_folder(folder):
    """Creates folder (and its parents) where missing; returns whether it did."""
    if os.path.isdir(folder):
        return False
    try:
        os.makedirs(folder)
    except OSError as error:
        raise OutputError(f"{folder}: cannot create the folder: "
                          f"{error.strerror or error}") from None
    return True


def _save_png(figure, path):
    """A picture of lines and text needs no more than 256 colours; held to
    them, the file is a third of the size."""
    from PIL import Image

    buffer = io.BytesIO()
    figure.savefig(buffer, format="png", dpi=PNG_DPI)
    buffer.seek(0)
    Image.open(buffer).convert("RGB").quantize(256).save(path, format="PNG", optimize=True)


def _write(figure, path, **options):
    folder, name = os.path.dirname(path) or ".", os.path.basename(path)
    temporary = os.path.join(folder, f".{name}.{os.getpid()}.tmp")
    try:
        if options.get("format") == "png":
            _save_png(figure, temporary)
        else:
            figure.savefig(temporary, **options)
        os.replace(temporary, path)
    except OSError as error:
        raise OutputError(f"{path}: cannot write: {error.strerror or error}") from None
    finally:
        if os.path.exists(temporary):
            os.unlink(temporary)


def save(figure, folder, stem, png):
    """Writes folder/stem.svg (and stem.png): each to a temporary name first,
    renamed once complete, so no reader ever sees half a picture."""
    written = []
    _write(figure, os.path.join(folder, stem + ".svg"), format="svg", metadata={"Date": None})
    written.append(stem + ".svg")
    if png:
        _write(figure, os.path.join(folder, stem + ".png"), format="png")
        written.append(stem + ".png")
    return written
