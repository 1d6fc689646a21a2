#!/usr/bin/env bash
# Builds the Debian package from this build, unpacks it into a scratch root as dpkg installs
# it, and runs the program from there as a user would: --version names the build's version,
# the form templates come from the installed share directory, and a first start creates
# db.mdb in the per-user data directory, not beside the program (which root could write to).
# Usage: install_package.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build="$1" version="$2" app_id="$3"
work="$(mktemp -d)"
program_pid=""
trap '[ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack did not build the package"; }
deb="$work/package/morvane_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$work/package")"
# The libraries the program links come from dpkg-shlibdeps, not from a list typed by hand.
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6widgets6 libsqlite3-0 libxlsxwriter4; do
  grep -q "$library (>= " <<<"$depends" || fail "Depends lacks $library: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/morvane usr/bin/morvane-window usr/libexec/morvane/morvane-accessreader \
    usr/share/morvane/rk.gjbg usr/share/morvane/ll.gjbg \
    "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
    "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    "usr/share/icons/hicolor/48x48/apps/$app_id.png" usr/share/man/man1/morvane.1.gz \
    usr/share/man/man1/morvane-window.1.gz \
    usr/share/doc/morvane/copyright usr/share/doc/morvane/changelog.gz; do
  [ -s "$root/$file" ] || fail "the package has no /$file"
done
program="$root/usr/bin/morvane"
# The subcommands run without the window libraries: the program hands the window over.
needed="$(readelf -d "$program" | grep NEEDED)"
! grep -q 'libQt6Widgets\|libQt6Gui' <<<"$needed" || fail "morvane loads the window libraries:
$needed"

reported="$("$program" --version)"
[ "$reported" = "Morvane $version" ] || fail "--version says \"$reported\", not \"Morvane $version\""

export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
unset MORVANE_HOME MORVANE_DATABASE
data="$XDG_DATA_HOME/Morvane/Morvane"
paths="$("$program" --paths)"
expected="数据目录：$data
入库单模板：$root/usr/share/morvane/rk.gjbg
领料单模板：$root/usr/share/morvane/ll.gjbg"
[ "$paths" = "$expected" ] || fail "--paths says
$paths
expected
$expected"

# The first start creates the database with its first account, then waits at the login.
QT_QPA_PLATFORM=offscreen "$program" >"$work/start.log" 2>&1 &
program_pid=$!
for _ in $(seq 300); do
  [ "$(sqlite3 "$data/db.mdb" "select 用户 from user" 2>/dev/null)" = admin ] && break
  kill -0 "$program_pid" 2>/dev/null || { cat "$work/start.log" >&2; fail "the first start ended"; }
  sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null || { cat "$work/start.log" >&2; fail "the first start ended"; }
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""
[ "$(sqlite3 "$data/db.mdb" "select 用户 from user")" = admin ] ||
  fail "no database with the account admin in $data"
leftovers="$(find "$root" -name 'db.mdb*')"
[ -z "$leftovers" ] || fail "data written beside the installed program: $leftovers"
echo "1 passed, 0 failed"
