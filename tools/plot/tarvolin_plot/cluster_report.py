"""cluster.dat: which programs form each cluster."""

import re

from .errors import InputError, read_text

_BLOCK = re.compile(
    r"Cluster No\. (?P<number>\d+):\n\n(?P<members>(?:[^\n]* \(\d+\)\n)*)"
    r"\n(?P<size>\d+) programs, (?P<matches>-?\d+) matches\n\nitoffset = \S+\n\n\n"
)


def read_clusters(path):
    """The clusters in number order, each the list of its programs' names in
    the order of the result file."""
    return [names for names, _matches in read_cluster_report(path)]


def read_cluster_report(path):
    """(names, number of matches) of each cluster, in number order."""
    text = read_text(path)
    clusters = []
    position = 0
    while position < len(text):
        match = _BLOCK.match(text, position)
        if match is None:
            what = "truncated" if text.startswith("Cluster No. ") else "not a cluster.dat"
            raise InputError(path, f"{what} (cluster {len(clusters) + 1} is unreadable)")
        if int(match["number"]) != len(clusters) + 1:
            raise InputError(path, f"cluster {match['number']} out of order")
        lines = match["members"].split("\n")[:-1]
        names = [line[: line.rfind(" (")].rstrip(" ") for line in lines]
        if int(match["size"]) != len(names):
            raise InputError(path, f"cluster {match['number']} lists {len(names)} programs")
        clusters.append((names, int(match["matches"])))
        position = match.end()
    return clusters
