"""Comparing the Linux and the Windows program's reports.

The two C libraries may differ in the last bit of pow() and log10(), so a
figure that rounds to zero can come out as a tiny negative number on one
side and a tiny positive one on the other: "-0.000000" against "0.000000"
(or " 0.000000" in a padded field), or a Trend of "-0.0" against "+0.0".
same_but_zero_signs() accepts exactly that difference and nothing else.
"""

import re

# A zero as printf writes it, "0", "0.", "0.000"; what follows must not
# continue the number.
_ZERO = re.compile(rb"0(\.0*)?(?![0-9.eE])")
_SIGNS = b"+-"


def _zero_after(text, at):
    """The zero starting at text[at:], or None."""
    match = _ZERO.match(text, at)
    return match.group(0) if match else None


def _signed_zero(text, at):
    """(sign, zero) when text[at:] is a sign followed by a zero, else None."""
    if at < len(text) and text[at] in _SIGNS:
        zero = _zero_after(text, at + 1)
        if zero is not None:
            return text[at:at + 1], zero
    return None


def _step_over(a, i, b, j):
    """Where both texts go on after a difference at a[i] and b[j] that is a
    zero's sign alone, or None. The one side's sign stands against the
    other side's other sign, a blank of the padding, or nothing."""
    if i > 0 and (a[i - 1:i].isdigit() or a[i - 1:i] == b"."):
        return None  # the difference is inside a number
    signed_a, signed_b = _signed_zero(a, i), _signed_zero(b, j)
    if signed_a and signed_b:
        return (i + 1 + len(signed_a[1]), j + 1 + len(signed_b[1])) \
            if signed_a[1] == signed_b[1] else None
    for (x, k, y, m, flip) in ((a, i, b, j, False), (b, j, a, i, True)):
        signed = _signed_zero(x, k)
        if not signed:
            continue
        zero = signed[1]
        if y[m:m + 1] == b" " and _zero_after(y, m + 1) == zero:
            ends = (k + 1 + len(zero), m + 1 + len(zero))
        elif _zero_after(y, m) == zero:
            ends = (k + 1 + len(zero), m + len(zero))
        else:
            continue
        return (ends[1], ends[0]) if flip else ends
    return None


def same_but_zero_signs(a, b):
    """True when the bytes a and b are equal but for the signs of zeros."""
    i = j = 0
    while i < len(a) and j < len(b):
        if a[i] == b[j]:
            i, j = i + 1, j + 1
            continue
        ends = _step_over(a, i, b, j)
        if ends is None:
            return False
        i, j = ends
    return i == len(a) and j == len(b)
