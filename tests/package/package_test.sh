#!/usr/bin/env bash
# The Debian package as a player gets it: built by CPack into a temporary
# folder and unpacked there with dpkg-deb -x. Checks the files it holds, its
# dependencies, its menu entry and metainfo, then runs the unpacked programs
# on a temporary home: zephyrstat-cli --help, an import of the installed
# sample and a group calculation in the per-user data folder, and the window
# for a moment on the offscreen platform.
#   package_test.sh BUILD_DIR
# Exits 77 (skipped) when dpkg-deb or the packaging configuration is missing.
set -euo pipefail
build="$1"
if ! command -v dpkg-deb >/dev/null || ! command -v cpack >/dev/null; then
  echo "skipped: dpkg-deb or cpack is not installed"
  exit 77
fi
if [ ! -f "$build/CPackConfig.cmake" ]; then
  echo "skipped: packaging is left out of this build (rsvg-convert missing)"
  exit 77
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack did not build the package"; }
debs=("$work"/out/zephyrstat_*_amd64.deb)
[ -f "${debs[0]}" ] || fail "no zephyrstat_<version>_amd64.deb in $(ls "$work/out")"
root="$work/root"
dpkg-deb -x "${debs[0]}" "$root"

id=org.zephyrstat.Zephyrstat
for file in usr/bin/zephyrstat usr/bin/zephyrstat-cli \
  usr/share/doc/zephyrstat/index.html usr/share/doc/zephyrstat/copyright \
  usr/share/doc/zephyrstat/changelog.gz usr/share/applications/$id.desktop \
  usr/share/metainfo/$id.metainfo.xml usr/share/icons/hicolor/scalable/apps/$id.svg \
  usr/share/icons/hicolor/256x256/apps/$id.png usr/share/man/man1/zephyrstat.1.gz \
  usr/share/man/man1/zephyrstat-cli.1.gz; do
  [ -s "$root/$file" ] || fail "the package lacks /$file"
done
samples=("$root"/usr/share/zephyrstat/历史号码/*.txt)
[ -s "${samples[0]}" ] || fail "the package lacks the sample history"

depends="$(dpkg-deb -f "${debs[0]}" Depends)"
for needed in libqt6widgets6 libsqlite3-0 qt6-translations-l10n fonts-wqy-zenhei; do
  [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/$id.desktop"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "appstreamcli: $(appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml")"
fi

# A home of its own: the installed programs keep their data in
# $XDG_DATA_HOME/Zephyrstat and their settings under $XDG_CONFIG_HOME.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cli="$root/usr/bin/zephyrstat-cli"

# Read whole: grep -q stops at the first match, and a help text longer than
# the output buffer would then end in SIGPIPE, failing the pipe.
help="$("$cli" --help)"
grep -q '^  import ' <<<"$help" || fail "zephyrstat-cli --help does not list import"
"$cli" settings GsZl 0 >/dev/null
lines="$(grep -c . "${samples[0]}")"
imported="$("$cli" import "${samples[0]}")"
[[ "$imported" == *"stored	$lines"* ]] || fail "import of the sample: $imported (the sample has $lines draws)"
[ -s "$XDG_DATA_HOME/Zephyrstat/tessera.mdb" ] || fail "the history is not in the per-user data folder"
[ ! -e "$root/usr/bin/tessera.mdb" ] || fail "the installed program wrote beside itself"
combinations="$("$cli" group --type number --size 2 --select 3,7,12 | tail -n +2 | cut -f1)"
[ "$combinations" = $'03 07\n03 12\n07 12' ] || fail "group printed: $combinations"

# Both programs answer --version with the package's version, the window
# --help as well, without a display.
version="$(dpkg-deb -f "${debs[0]}" Version)"
[ "$("$cli" --version)" = "zephyrstat-cli $version" ] || fail "zephyrstat-cli --version: $("$cli" --version)"
window="$root/usr/bin/zephyrstat"
[ "$(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$window" --version)" = "Zephyrstat $version" ] ||
  fail "zephyrstat --version without a display"
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$window" --help >"$work/help.txt" 2>&1 ||
  { cat "$work/help.txt" >&2; fail "zephyrstat --help without a display"; }

# The manual pages name the installed programs, never a build folder.
for page in zephyrstat zephyrstat-cli; do
  text="$(zcat "$root/usr/share/man/man1/$page.1.gz")"
  [[ "$text" == *"$version"* ]] || fail "$page(1) does not give the version $version"
  [[ "$text" != *"$build"* && "$text" != *"$(cd "$build" && pwd -P)"* ]] ||
    fail "$page(1) names the build folder"
done

# The window starts on a first start (it offers the sample then) and is
# still running a moment later; it creates its history in the per-user folder.
export XDG_DATA_HOME="$work/home/fresh"
status=0
timeout -s TERM 3 "$root/usr/bin/zephyrstat" >"$work/window.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/window.log" >&2; fail "the window ended with status $status"; }
[ -e "$XDG_DATA_HOME/Zephyrstat/tessera.mdb" ] || fail "the window did not open the per-user data folder"
echo "package ${debs[0]##*/}: contents, dependencies, programs and window checked"
