#!/usr/bin/env bash
# The shared library exports exactly the functions that orvex.h declares.
#     check_exports.sh <liborvex.so.N> <orvex.h>
set -euo pipefail
library=$1
header=$2

exported=$(nm -D --defined-only "$library" | awk '{print $3}' | sort)
declared=$(grep -o '^ORVEX_API [^(]*(' "$header" | grep -o 'orvex_[A-Za-z0-9_]*' | sort)

if [ "$exported" != "$declared" ]; then
    echo "exported and declared differ (< exported, > declared):"
    diff <(echo "$exported") <(echo "$declared") || true
    exit 1
fi
if grep -qv '^orvex_' <<<"$exported"; then
    echo "exports other than orvex_ functions"
    exit 1
fi
echo "$(wc -l <<<"$exported") orvex_ functions exported, nothing else"
