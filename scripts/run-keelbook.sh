#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, writes the sample database set if it is not there, and
# starts keelbook in it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
sample="$PWD/build/release/sample"
[ -f "$sample/objects.odb" ] || build/release/tools/keel_sample_set "$sample"
cd "$sample"
exec "$OLDPWD/build/release/shell/keelbook"
