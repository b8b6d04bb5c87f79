#!/bin/sh
# Builds the Debian package from a finished build, unpacks it into a scratch
# root (dpkg -x), checks the layout, the declared dependencies and the
# desktop files, and runs the unpacked CLI. lintian must report no errors.
# Usage: deb_layout_test.sh BUILD_DIR VERSION
set -u
build=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack -G DEB -B "$scratch/out" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb="$scratch/out/vrm650t_${version}_amd64.deb"
[ -f "$deb" ] || { ls "$scratch/out"; echo "FAIL: no $deb"; exit 1; }
root="$scratch/root"
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg -x"; exit 1; }

# The layout.
for f in usr/lib/vrm650t/vrm650t usr/lib/vrm650t/vrm650t-cli usr/lib/vrm650t/libpipelink.so \
         usr/lib/vrm650t/vrm650t_en.lng usr/lib/vrm650t/vrm650t_de.lng \
         usr/lib/vrm650t/vrm650t_en_lmr.html usr/lib/vrm650t/vrm650t_de_adv.html \
         usr/lib/vrm650t/60-vrm650t-cable.rules usr/lib/vrm650t/61-vrm650t-cable-plugdev.rules \
         usr/lib/udev/rules.d/60-vrm650t-cable.rules \
         usr/share/applications/com.trevona.vrm650t.desktop \
         usr/share/metainfo/com.trevona.vrm650t.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/com.trevona.vrm650t.svg \
         usr/share/icons/hicolor/16x16/apps/com.trevona.vrm650t.png \
         usr/share/icons/hicolor/48x48/apps/com.trevona.vrm650t.png \
         usr/share/icons/hicolor/256x256/apps/com.trevona.vrm650t.png \
         usr/share/man/man1/vrm650t.1.gz usr/share/man/man1/vrm650t-cli.1.gz \
         usr/share/bash-completion/completions/vrm650t-cli \
         usr/share/doc/vrm650t/copyright usr/share/doc/vrm650t/changelog.gz; do
    [ -f "$root/$f" ] || fail "missing /$f"
done
for p in vrm650t vrm650t-cli; do
    [ "$(readlink "$root/usr/bin/$p")" = "../lib/vrm650t/$p" ] || fail "/usr/bin/$p is not a link into /usr/lib/vrm650t"
done
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"
[ -z "$(find "$root" -name 'test_*' -o -name 'gui_*' -o -name 'bench_*')" ] || fail "tests or benchmarks packaged"

# The dependencies that `apt install ./vrm650t_*.deb` pulls in.
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6gui6 libusb-1.0-0 qt6-qpa-plugins; do
    case "$depends" in *"$d"*) ;; *) fail "Depends lacks $d: $depends" ;; esac
done
missing=$(ldd "$root/usr/lib/vrm650t/vrm650t" "$root/usr/lib/vrm650t/libpipelink.so" "$root/usr/lib/vrm650t/libvrm650t-pdf.so" | grep 'not found')
[ -z "$missing" ] || fail "unresolved libraries: $missing"

# The unpacked CLI finds its language files beside itself through the link.
cli="$root/usr/bin/vrm650t-cli"
env -u LD_LIBRARY_PATH "$cli" --help | grep -q '^  doctor' || fail "the unpacked CLI's help lacks doctor"
env -u LD_LIBRARY_PATH "$cli" lang list | grep -q 'vrm650t_de.lng' || fail "the unpacked CLI does not list its languages"
zcat "$root/usr/share/man/man1/vrm650t-cli.1.gz" | grep -q '^\.SH EXIT STATUS' || fail "the CLI's man page has no exit statuses"

# Desktop entry, metainfo, package.
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$root/usr/share/applications/com.trevona.vrm650t.desktop" | grep -v ': hint: ' | grep . \
        && fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/com.trevona.vrm650t.metainfo.xml" >"$scratch/as.log" 2>&1 \
        || { cat "$scratch/as.log"; fail "appstreamcli validate"; }
fi
# The licence and the metadata: GPL-3.0-or-later named in the copyright file
# (pointing at the system's copy of the text) and the metainfo; this build
# was given no maintainer or home page, so none is made up.
copyright="$root/usr/share/doc/vrm650t/copyright"
grep -q '^License: GPL-3+$' "$copyright" || fail "the copyright file does not name GPL-3+"
grep -q '/usr/share/common-licenses/GPL-3' "$copyright" || fail "the copyright file does not point at the GPL's text"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$root/usr/share/metainfo/com.trevona.vrm650t.metainfo.xml" \
    || fail "the metainfo does not name GPL-3.0-or-later"
[ "$(dpkg-deb -f "$deb" Maintainer)" = "Built locally <nobody@built-locally.invalid>" ] \
    || fail "Maintainer: $(dpkg-deb -f "$deb" Maintainer)"
[ -z "$(dpkg-deb -f "$deb" Homepage)" ] || fail "a home page nobody gave: $(dpkg-deb -f "$deb" Homepage)"
grep -q '<url' "$root/usr/share/metainfo/com.trevona.vrm650t.metainfo.xml" && fail "the metainfo names an address"
zcat "$root/usr/share/doc/vrm650t/changelog.gz" | grep -q -- '^ -- Built locally <nobody@built-locally.invalid>  ' \
    || fail "the changelog's trailer does not say built locally"

if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error "$deb" 2>&1 | grep -v 'root privileges' >"$scratch/lintian.log"
    grep '^E:' "$scratch/lintian.log" && fail "lintian reports errors"
    cat "$scratch/lintian.log"
fi

[ "$failures" -eq 0 ] && echo "package layout: ok" || exit 1
