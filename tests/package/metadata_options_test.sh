#!/bin/sh
# The package's maintainer and home page come from the build options
# VRM_MAINTAINER and VRM_HOMEPAGE: given, they reach the package's control
# fields, the changelog and the metainfo; malformed, the configure stops with
# a message; and the LICENSE file is the GPL's full text. Configures only
# (the core alone), so it takes seconds.
# Usage: metadata_options_test.sh SOURCE_DIR
set -u
src=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
configure() {
    dir=$1
    shift
    cmake -S "$src" -B "$scratch/$dir" -DVRM_CORE_ONLY=ON -DVRM_BUILD_TESTS=OFF -DVRM_BUILD_BENCH=OFF "$@" \
        >"$scratch/$dir.log" 2>&1
}

cmp -s "$src/LICENSE" /usr/share/common-licenses/GPL-3 || fail "LICENSE is not the full text of the GPL version 3"

configure given "-DVRM_MAINTAINER=Ann Example <ann@example.org>" -DVRM_HOMEPAGE=https://example.org/vrm650t/ \
    || { cat "$scratch/given.log"; fail "configure with both options"; }
grep -q 'CPACK_PACKAGE_CONTACT "Ann Example <ann@example.org>"' "$scratch/given/CPackConfig.cmake" \
    || fail "the maintainer does not reach the package"
grep -q 'CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/vrm650t/"' "$scratch/given/CPackConfig.cmake" \
    || fail "the home page does not reach the package"
grep -q '^ -- Ann Example <ann@example.org>  ' "$scratch/given/dist/changelog" || fail "the changelog's trailer"
grep -q '<url type="homepage">https://example.org/vrm650t/</url>' "$scratch/given/dist/com.trevona.vrm650t.metainfo.xml" \
    || fail "the metainfo's home page"

for bad in "-DVRM_MAINTAINER=ann@example.org" "-DVRM_MAINTAINER=Ann <ann@localhost>" "-DVRM_HOMEPAGE=example.org"; do
    if configure bad "$bad"; then
        fail "accepted $bad"
    else
        grep -q 'must' "$scratch/bad.log" || { cat "$scratch/bad.log"; fail "no message for $bad"; }
    fi
    rm -rf "$scratch/bad"
done

[ "$failures" -eq 0 ] && echo "package metadata options: ok" || exit 1
