"""The command line: which run, which result file, where the pictures go."""

import argparse
import os
import sys

from .errors import InputError
from .text import printable

DESCRIPTION = """\
Draws a finished Tarvolin run as three pictures: ratings.svg (every rated
program with its error margin, one colour per cluster), solved.svg (the share
of its positions each program solved within t seconds) and positions.svg (the
positions from easiest to hardest, with how many programs solved each).

It reads general.dat, cluster.dat, rating.dat and positions.dat from DIR, and
the result file that general.dat names (or --result) with the Offset.pgn
beside it. Without a result file the times come from positions.dat."""

EPILOG = """\
exit codes:
  0  the pictures are written
  1  a picture could not be written, or the folder for them not created
  2  bad input: a report missing, cut short or from another run, a result
     file that does not belong to the reports, or a wrong option"""


class Parser(argparse.ArgumentParser):
    def error(self, message):
        """The fault on one line first, then the usage, as the other tools do
        (tarvolin-publish parses with it too)."""
        sys.stderr.write(f"{self.prog}: {message}\n")
        self.print_usage(sys.stderr)
        sys.exit(2)


def parse(arguments):
    parser = Parser(
        prog="tarvolin-plot", description=DESCRIPTION, epilog=EPILOG,
        formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--dir", default=".", help="folder of the run (default: the current one)")
    parser.add_argument("--result", metavar="FILE.pgn",
                        help="the run's result file (default: the one general.dat names, in DIR)")
    parser.add_argument("--out", metavar="DIR", help="folder for the pictures, created if missing (default: DIR)")
    parser.add_argument("--png", action="store_true", help="write a PNG beside each SVG")
    return parser.parse_args(arguments)


def main(arguments=None):
    options = parse(sys.argv[1:] if arguments is None else arguments)
    out = options.dir if options.out is None else options.out
    try:
        # Everything is read and checked before the first picture is drawn,
        # so bad input leaves the output folder as it was.
        from .run_data import load_run

        run = load_run(options.dir, options.result)
    except InputError as error:
        print(f"tarvolin-plot: {printable(str(error))}", file=sys.stderr)
        return 2
    from . import output, positions_picture, ratings_picture, solved_picture

    try:
        output.make_folder(out)
        for module, stem in ((ratings_picture, "ratings"), (solved_picture, "solved"),
                             (positions_picture, "positions")):
            figure = module.draw(run)
            for name in output.save(figure, out, stem, options.png):
                print(printable(os.path.join(out, name)))
    except output.OutputError as error:
        print(f"tarvolin-plot: {printable(str(error))}", file=sys.stderr)
        return 1
    return 0
