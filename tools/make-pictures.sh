#!/usr/bin/env bash
# Takes the pictures of the README and the manual (manual/images/) with the
# program itself: the release build of torva, run offscreen on the sample
# tournament (app/Screenshots.h lists them). Review the changed pictures
# before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target torva
QT_QPA_PLATFORM=offscreen build/release/app/torva --screenshot manual/images examples/sample.stg
