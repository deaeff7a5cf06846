"""The walk over a PGN file that the run makes: tags outside comments, and
the entries of the first comment after each "Event " tag. The result file
and the offset file are read by it alike."""

import re

# An entry's first character and the 79 after it are all the run looks at.
ENTRY_KEEP = 80
_SPECIAL = re.compile(rb"[\[{}]")
_LAYOUT = b" \t\n\v\f\r"
_TAG_TAIL_SPACE = re.compile(rb"[ \t\n\v\f\r]*")
_ENTRY_END = re.compile(rb"[,}]")
_SEPARATOR_END = re.compile(rb"['}]")


def _cut_at_nul(text):
    nul = text.find(b"\0")
    return text if nul < 0 else text[:nul]


def _scan_to(data, pattern, start):
    """Where a "%[^...]" scan from start stops: the next stop character, or
    the end of the data."""
    match = pattern.search(data, start)
    return match.start() if match else len(data)


def _read_tag(data, i):
    """A tag after its '['; returns (next index, name, value)."""
    end = data.find(b'"', i)
    end = len(data) if end < 0 else end
    if end == i:
        return i, b"", b""
    name = data[i:end]
    if end >= len(data):
        return end, name, b""
    i = end + 1
    end = data.find(b'"', i)
    end = len(data) if end < 0 else end
    if end == i:
        return i, name, b""
    value = data[i:end]
    if end + 2 > len(data):
        return len(data), name, value
    return _TAG_TAIL_SPACE.match(data, end + 2).end(), name, value


def _read_results(data, i, on_entry):
    """The entries of a result comment from just after its layout; returns
    the index after it."""
    while True:
        stop = _scan_to(data, _ENTRY_END, i)
        entry = data[i:stop]
        separator_stop = _scan_to(data, _SEPARATOR_END, stop)
        end_character = b"}"
        i = stop
        if separator_stop > stop:
            i = separator_stop
            if separator_stop < len(data):
                end_character = data[separator_stop : separator_stop + 1]
                if end_character != b"'":
                    i += 1
        if entry:
            on_entry(_cut_at_nul(entry[:ENTRY_KEEP]))
        if end_character != b"'":
            return i


def walk(data, on_tag, on_entry):
    """Calls on_tag(name, value) for each tag (the name with its trailing
    blank, as b"FEN ") and on_entry(text) for each entry of a result comment.
    Windows line ends must already be plain ones."""
    in_comment = False
    results_read = False
    i = 0
    while True:
        match = _SPECIAL.search(data, i)
        if match is None:
            return
        character = data[match.start()]
        i = match.start() + 1
        if character == ord("{"):
            in_comment = True
            if results_read:
                continue
            while i < len(data) and data[i] in _LAYOUT:
                i += 1
            if i < len(data) and data[i] not in b"',}":
                # A remark before the results: passed over whole.
                close = data.find(b"}", i)
                i = len(data) if close < 0 else close
                continue
            i = _read_results(data, i, on_entry)
            in_comment = False
            results_read = True
        elif character == ord("}"):
            in_comment = False
        elif not in_comment:
            i, name, value = _read_tag(data, i)
            name, value = _cut_at_nul(name), _cut_at_nul(value)
            if name == b"Event ":
                results_read = False
            on_tag(name, value)
