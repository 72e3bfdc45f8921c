#!/usr/bin/env bash
# Builds the Debian package build/varnolt_<version>_amd64.deb with CPack from the Release build
# in build/ (which it brings up to date first: nothing to do after scripts/test.sh). Install it
# with: sudo apt install ./build/varnolt_<version>_amd64.deb
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/build.sh" >&2
umask 022 # the package's folders and files get the modes Debian expects
cd "$root/build"
cpack -G DEB >/dev/null
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' CMakeCache.txt)"
package="$root/build/varnolt_${version}_$(dpkg --print-architecture).deb"
test -f "$package"
echo "$package"
