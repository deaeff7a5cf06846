"""Names and labels as the pictures show them."""

import unicodedata


def shown(text, width=None):
    """Text safe to draw: bytes that were not UTF-8 and control characters
    become '?', which the SVG could not hold, and a '$' stays a dollar sign
    instead of opening a formula. With a width, longer text is cut with an
    ellipsis."""
    cleaned = "".join(
        "?" if unicodedata.category(c) in ("Cc", "Cs", "Cn", "Co") else c for c in text
    )
    if width is not None and len(cleaned) > width:
        cleaned = cleaned[: width - 1] + "\u2026"
    return cleaned.replace("$", r"\$")


def elo(value):
    return "%.0f" % value


def count(number, word):
    return f"{number} {word}" if number == 1 else f"{number} {word}s"
