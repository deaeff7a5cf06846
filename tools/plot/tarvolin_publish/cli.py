"""The command line of tarvolin-publish."""

import argparse
import os
import sys

from tarvolin_plot.cli import Parser
from tarvolin_plot.errors import InputError
from tarvolin_plot.text import printable

DESCRIPTION = """\
Publishes a finished Tarvolin run: index.html, one self-contained page with
the run's summary, the rating list (sortable by a click on a column header),
the three pictures, a section per program and the position table; and the
exports ratings.csv, programs.csv, matches.csv, positions.csv, results.csv
and run.json for spreadsheets and scripts.

It reads general.dat, cluster.dat, rating.dat, programs.dat and positions.dat
from DIR, and the result file that general.dat names (or --result) with the
Offset.pgn beside it. Without a result file the results come from
positions.dat, to 0.01 s."""

EPILOG = """\
exit codes:
  0  the site is written
  1  a file of the site could not be written (nothing of it is left behind)
  2  bad input: a report missing, cut short or from another run, a result
     file that does not belong to the reports, or a wrong option"""


def parse(arguments):
    parser = Parser(prog="tarvolin-publish", description=DESCRIPTION, epilog=EPILOG,
                    formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--dir", default=".", help="folder of the run (default: the current one)")
    parser.add_argument("--result", metavar="FILE.pgn",
                        help="the run's result file (default: the one general.dat names, in DIR)")
    parser.add_argument("--out", metavar="SITE",
                        help="folder for the site, created if missing (default: DIR/site)")
    return parser.parse_args(arguments)


def main(arguments=None):
    options = parse(sys.argv[1:] if arguments is None else arguments)
    out = os.path.join(options.dir, "site") if options.out is None else options.out
    try:
        from tarvolin_plot.run_data import load_run

        run = load_run(options.dir, options.result, details=True)
    except InputError as error:
        print(f"tarvolin-publish: {printable(str(error))}", file=sys.stderr)
        return 2
    from tarvolin_plot.output import OutputError

    from . import exports, page, pictures, site, tables

    built = tables.build(run)
    svgs = pictures.inline_svgs(run)
    writers = {"index.html": lambda handle: handle.write(page.render(run, built, svgs))}
    writers.update(exports.writers(built))
    try:
        for name in site.write_site(out, writers):
            print(printable(os.path.join(out, name)))
    except OutputError as error:
        print(f"tarvolin-publish: {printable(str(error))}", file=sys.stderr)
        return 1
    return 0
