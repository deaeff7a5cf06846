"""The one kind of failure the readers report, and how they read a file."""

import os


class InputError(Exception):
    """A file that cannot serve as input; the message names it."""

    def __init__(self, path, reason):
        super().__init__(f"{path}: {reason}")
        self.path = path
        self.reason = reason


def read_bytes(path):
    """The whole file, or an InputError that says why not."""
    try:
        # A pipe or a device would be read for ever: only plain files count.
        if os.path.exists(path) and not os.path.isdir(path) and not os.path.isfile(path):
            raise InputError(path, "not a plain file")
        with open(path, "rb") as handle:
            return handle.read()
    except FileNotFoundError:
        raise InputError(path, "no such file") from None
    except IsADirectoryError:
        raise InputError(path, "is a folder, not a file") from None
    except MemoryError:
        raise InputError(path, "too large to read") from None
    except OSError as error:
        raise InputError(path, error.strerror or "cannot be read") from None


def read_text(path):
    """The file as text. Names in the reports are bytes copied from the
    result file, so bytes that are not UTF-8 are kept as they are (escaped)
    rather than refused: they still have to match the result file's."""
    return read_bytes(path).decode("utf-8", "surrogateescape")

