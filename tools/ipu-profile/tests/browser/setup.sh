#!/usr/bin/env bash
# Prepares the browser tests of ipu-profile's page: installs the locked npm
# packages next to this script. Idempotent and quick once done. The browser itself
# is Debian's chromium, which scripts/install-deps.sh installs.
set -euo pipefail
cd "$(dirname "$0")"

if [[ ! -x /usr/bin/chromium ]]; then
  echo "browser tests need /usr/bin/chromium: run scripts/install-deps.sh" >&2
  exit 1
fi

# npm ci leaves node_modules/.package-lock.json behind; newer than the lock file
# means the installed packages are the locked ones.
if [[ node_modules/.package-lock.json -nt package-lock.json ]]; then
  exit 0
fi
npm ci --no-audit --no-fund --loglevel=error
