#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, configures, builds and runs every test through ctest.
# KEEL_WERROR=ON turns compiler warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release -DKEEL_WERROR="${KEEL_WERROR:-OFF}"
cmake --build --preset release
ctest --preset release
