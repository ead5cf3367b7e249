#!/usr/bin/env bash
# Builds the orvex API reference from orvex.h into build/docs/html and build/docs/man
# with Doxygen; any warning (an undocumented function or parameter too) fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --packaging

ORVEX_VERSION=$(sed -n 's/^#define ORVEX_VERSION_STRING "\(.*\)"$/\1/p' orvex/orvex.h)
ORVEX_DOCS_DIR=build/docs
export ORVEX_VERSION ORVEX_DOCS_DIR
rm -rf "$ORVEX_DOCS_DIR"
mkdir -p "$ORVEX_DOCS_DIR"
doxygen docs/Doxyfile
echo "API reference: $ORVEX_DOCS_DIR/html/index.html, man pages in $ORVEX_DOCS_DIR/man/man3"
