#!/usr/bin/env bash
# Runs lintian on the package and fails on any error (E:) or warning (W:)
# tag, or on an informational one saying hardening is missing (hardening-no-
# bindnow, -fortify-functions, -relro, -pie); overridden tags carry their
# reason in packaging/lintian-overrides.
# Exits with 77, which CTest counts as skipped, when lintian is missing.
# Usage: packaging/lintian-package.sh <package.deb>
set -euo pipefail

deb=${1:?usage: lintian-package.sh <package.deb>}
if ! command -v lintian >/dev/null; then
  echo "SKIP: lintian is not installed (apt-get install lintian)"
  exit 77
fi
[ -f "$deb" ] || { echo "FAIL: no package $deb"; exit 1; }

# Informational tags are shown but do not fail; lintian's own complaint
# about running as root (CI does) is no finding about the package.
status=0
report=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v 'running with root privileges is not recommended' <<<"$report" || true
if [ "$status" -ne 0 ] || grep -Eq '^[EW]: ' <<<"$report"; then
  echo "FAIL: lintian reports errors or warnings"
  exit 1
fi
# The package is built with Debian's hardening: lintian must not miss any.
if grep -E '^I: .* hardening-no-' <<<"$report"; then
  echo "FAIL: lintian finds a program without Debian's hardening"
  exit 1
fi
echo "lintian: no errors or warnings"
