#!/usr/bin/env bash
# Writes the cases' IFC files and has web-ifc read them back. Skipped (77)
# where Node or the pinned web-ifc package is missing: tools/ensure-node-packages.sh
# installs it into the build tree.
#
#   run-web-ifc-check.sh WRITER WEB_IFC_PACKAGE_DIR SCRATCH_DIR
set -euo pipefail
writer=$1
package=$2
scratch=$3
here=$(cd "$(dirname "$0")" && pwd)

if ! command -v node >/dev/null; then
    echo "SKIP: no node on this machine"
    exit 77
fi
if [ ! -f "$package/package.json" ]; then
    echo "SKIP: no web-ifc in $package (tools/ensure-node-packages.sh installs it)"
    exit 77
fi
rm -rf "$scratch"
"$writer" "$scratch"
timeout 60 node "$here/check-ifc-with-web-ifc.js" "$package" "$scratch" 2>&1 | tee "$scratch/web-ifc.log"
# web-ifc reads on past what it does not understand, and says so only in its log.
if grep -F "[WEB-IFC][error]" "$scratch/web-ifc.log"; then
    echo "FAIL: web-ifc reported errors reading the files (above)"
    exit 1
fi
