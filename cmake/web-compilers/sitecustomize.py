"""Makes Emscripten's file packager give the same bytes from the same files.

Python reads this module at start-up from PYTHONPATH, which the compiler
wrappers beside it set. For the file packager alone (the program behind
--preload-file and --embed-file, which packs files into a program; the music
worker's notes go in that way), two things that changed from one build to
the next are made to come from the packed files only:
- the folders it is given are walked in name order, not in the order the
  file system lists them, so the files' order and offsets do not depend on
  it;
- the package's id, which the loader keeps beside a cached copy to know it
  again, is made from the package's bytes instead of at random: the same
  data gives the same id, other data another.
"""
import os
import sys

if os.path.basename(sys.argv[0]) == "file_packager.py":
    import hashlib
    import uuid

    _walk = os.walk

    def _walk_in_name_order(top, *args, **kwargs):
        for dirpath, dirnames, filenames in _walk(top, *args, **kwargs):
            dirnames.sort()
            filenames.sort()
            yield dirpath, dirnames, filenames

    def _id_of_package():
        # The packager asks for the id once the data file (its first
        # argument) is written.
        with open(sys.argv[1], "rb") as data:
            digest = hashlib.sha256(data.read()).digest()
        return uuid.UUID(bytes=digest[:16], version=4)

    os.walk = _walk_in_name_order
    uuid.uuid4 = _id_of_package
