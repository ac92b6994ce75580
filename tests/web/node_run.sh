#!/bin/sh
# Runs a program of the web build (name.js beside name.wasm) under Node, with
# the host's files (the programs are linked for that). Node's own fetch would
# take the .wasm path for a URL and fail, so the loader reads the file instead.
exec node --no-experimental-fetch "$@"
