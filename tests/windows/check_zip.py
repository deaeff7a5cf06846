#!/usr/bin/python3
"""The Windows zip holds what a user needs and nothing else: the programs,
the read-me (also as README.txt with CR LF), the rating model and the
examples, all under one folder named as the zip.

  check_zip.py CPACK CPACK-CONFIG SOURCE-DIR PROGRAM...
makes the zip with cpack in a temporary folder and checks it."""

import subprocess, sys, tempfile, zipfile
from pathlib import Path


def main(cpack, config, source, programs):
    source = Path(source)
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([cpack, "--config", config, "-B", out], check=True,
                       stdout=subprocess.DEVNULL)
        zips = list(Path(out).glob("*.zip"))
        assert len(zips) == 1, "cpack made %s" % zips
        with zipfile.ZipFile(zips[0]) as archive:
            top = zips[0].stem
            found = {name[len(top) + 1:]: archive.read(name) for name in archive.namelist()
                     if not name.endswith("/")}
            assert all(name.startswith(top + "/") for name in archive.namelist()), \
                archive.namelist()
    assert top.startswith("tarvolin-") and top.endswith("-windows-x86_64"), top
    readme = (source / "README.md").read_bytes()
    expected = {"README.md": readme, "README.txt": readme.replace(b"\n", b"\r\n"),
                "docs/rating-model.md": (source / "docs/rating-model.md").read_bytes()}
    for example in (source / "examples").rglob("*"):
        if example.is_file():
            expected["examples/" + example.relative_to(source / "examples").as_posix()] = \
                example.read_bytes()
    for program in programs:
        assert found.get(program, b"")[:2] == b"MZ", program + " is no Windows program"
        expected[program] = found[program]
    assert set(found) == set(expected), "extra: %s, missing: %s" % (
        sorted(set(found) - set(expected)), sorted(set(expected) - set(found)))
    for name, data in expected.items():
        assert found[name] == data, name + " differs from its source"
    print("%s.zip: %d files" % (top, len(found)))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
