"""Names and labels as the pictures show them."""

import unicodedata


def printable(text):
    """Bytes that were not UTF-8 and control characters become '?': the SVG
    could not hold them, and a message must stay on one line."""
    return "".join("?" if unicodedata.category(c) in ("Cc", "Cs", "Cn", "Co") else c for c in text)


def shown(text, width=None):
    """Text safe to draw: printable, and a '$' stays a dollar sign instead of
    opening a formula. With a width, longer text is cut with an ellipsis."""
    cleaned = printable(text)
    if width is not None and len(cleaned) > width:
        cleaned = cleaned[: width - 1] + "\u2026"
    return cleaned.replace("$", r"\$")


def elo(value):
    return "%.0f" % value


def count(number, word):
    return f"{number} {word}" if number == 1 else f"{number} {word}s"
