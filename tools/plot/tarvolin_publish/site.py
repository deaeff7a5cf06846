"""Writing the site: every file under a temporary name first, and renamed
into place only once all of them are complete, so that a failure leaves no
half-written file and no mix of two publications."""

import os

from tarvolin_plot.output import OutputError, make_folder


def write_site(folder, writers):
    """writers: {file name: function writing the file to a binary handle}.
    Returns the names written, in order."""
    created = make_folder(folder)
    for name in writers:
        # Found only when renaming, a folder in the way would leave the site
        # half replaced.
        target = os.path.join(folder, name)
        if os.path.lexists(target) and not os.path.isfile(target):
            raise OutputError(f"{target}: cannot write: something other than a file is there")
    temporary = {name: os.path.join(folder, f".{name}.{os.getpid()}.tmp") for name in writers}
    try:
        for name, write in writers.items():
            try:
                with open(temporary[name], "wb") as handle:
                    write(handle)
            except OSError as error:
                raise OutputError(f"{os.path.join(folder, name)}: cannot write: "
                                  f"{error.strerror or error}") from None
        for name in writers:
            os.replace(temporary[name], os.path.join(folder, name))
    except BaseException:
        for path in temporary.values():
            if os.path.exists(path):
                os.unlink(path)
        if created and not os.listdir(folder):
            os.rmdir(folder)
        raise
    return list(writers)
