"""Writing a picture whole or not at all."""

import os

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


class OutputError(Exception):
    """A picture that could not be written; the message names it."""


def _write(figure, path, **options):
    temporary = os.path.join(os.path.dirname(path) or ".", f".{os.path.basename(path)}.{os.getpid()}.tmp")
    try:
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
        _write(figure, os.path.join(folder, stem + ".png"), format="png", dpi=PNG_DPI)
        written.append(stem + ".png")
    return written
