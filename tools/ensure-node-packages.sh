#!/usr/bin/env bash
# Installs the Node packages the tests read files with into the build tree,
# at pinned versions, unless they are there already: web-ifc, which reads
# the alignment's IFC file back. Without npm, or when the registry cannot be
# reached, it says so and the test that needs the package is skipped.
#
#   tools/ensure-node-packages.sh BUILD_DIR
set -euo pipefail
web_ifc_version=0.0.78
prefix=${1:?usage: $0 BUILD_DIR}/node
installed=$prefix/node_modules/web-ifc/package.json

if [ -f "$installed" ] && grep -q "\"version\": \"$web_ifc_version\"" "$installed"; then
    exit 0
fi
if ! command -v npm >/dev/null; then
    echo "No npm: the web-ifc check of the IFC file will be skipped" >&2
    exit 0
fi
mkdir -p "$prefix"
timeout 300 npm install --no-audit --no-fund --save-exact --prefix "$prefix" "web-ifc@$web_ifc_version" ||
    echo "web-ifc $web_ifc_version not installed: the web-ifc check of the IFC file will be skipped" >&2
