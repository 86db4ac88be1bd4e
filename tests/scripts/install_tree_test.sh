#!/usr/bin/env bash
# cmake --install of the build into a scratch prefix gives a complete tree
# that runs from there (scripts/check-installed).
# usage: install_tree_test.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: install_tree_test.sh BUILD_DIR}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log" 2>&1 || {
  cat "$scratch/install.log"
  echo "FAIL: cmake --install"
  exit 1
}
"$root/scripts/check-installed" "$scratch/prefix"
