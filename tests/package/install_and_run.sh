#!/usr/bin/env bash
# Builds the Debian package from a built tree, installs it with apt-get, and runs the installed
# program as an unprivileged user: "zenavo --tabela" must load both tables and compute the
# pointing table (with the real magc) although the installed folder is not the user's to write.
# Then the ways a program gets started on a desktop: through a relative link, a link to a link,
# from a folder whose path has spaces and non-ASCII letters, and from a copy of the installed
# folder with files missing, which must say what is missing. The installed folder must stay
# exactly as installed. Finally the package is removed again.
# Before installing, lintian checks the package (any error or warning fails); after installing,
# the software-centre metadata must pass `appstreamcli validate`, and the manual page must
# render without a groff warning and be found by `man zenavo`.
#
# Usage (as root, after a normal build): bash tests/package/install_and_run.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "${1:-build}")
[ "$(id -u)" -eq 0 ] || { echo "install_and_run: must run as root (it installs a package)" >&2; exit 1; }

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# --- Build and inspect the package ---------------------------------------------------------
rm -f "$build"/zenavo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/zenavo_*.deb)
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Architecture Depends
for dep in libqt6widgets6 libqt6core6 qt6-qpa-plugins; do
  dpkg-deb -f "$deb" Depends | grep -q "$dep" || fail "Depends lacks $dep"
done

# lintian: its whole output shown; an error or a warning fails (overrides need their reason).
status=0
report=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
printf '%s\n' "$report" | sed 's/^/  lintian: /'
if [ "$status" -eq 0 ] && ! grep -q '^[EW]: ' <<<"$report"; then pass "lintian: no error, no warning"
else fail "lintian: exit $status"; fi

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
trap 'DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq zenavo >/dev/null 2>&1 || true' EXIT

folder=/usr/lib/zenavo
for f in zenavo magc WMM2025.COF satelite.csv municipios.csv satelite_vg.csv municipios_vg.csv; do
  [ -f "$folder/$f" ] || fail "$folder/$f not installed"
done
[ "$(readlink /usr/bin/zenavo)" = "../lib/zenavo/zenavo" ] || fail "/usr/bin/zenavo is not the relative link"
id=app.zenavo.zenavo
desktop-file-validate /usr/share/applications/$id.desktop || fail "desktop entry not valid"
[ -f /usr/share/icons/hicolor/scalable/apps/zenavo.svg ] || fail "icon not installed"
metainfo=/usr/share/metainfo/$id.metainfo.xml
status=0
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || status=$?
printf '%s\n' "$report" | sed 's/^/  appstreamcli: /'
[ "$status" -eq 0 ] && pass "metainfo valid" || fail "metainfo not valid: exit $status"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "metainfo does not launch $id.desktop"
for f in copyright changelog.Debian.gz; do
  [ -f "/usr/share/doc/zenavo/$f" ] || fail "/usr/share/doc/zenavo/$f not installed"
done
# --- The manual page ------------------------------------------------------------------------
# Renders the page at $1 as `man -l` does; any groff warning, or a missing section, fails.
check_page() {
  local what=$1 page=$2 text warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null)
  [ -z "$warnings" ] || { fail "$what: $warnings"; return; }
  for s in NAME SYNOPSIS OPTIONS "EXIT STATUS" FILES ENVIRONMENT; do
    grep -q "^$s\$" <<<"$text" || { fail "$what: no section $s"; return; }
  done
  grep -q -- "--tabela --cidade" <<<"$text" || { fail "$what: --tabela not described"; return; }
  pass "$what"
}
# True when dpkg's path-exclude settings (later path-include ones re-admitting) keep $1 off disk.
dpkg_excludes() {
  local excluded=1 kind pattern
  while read -r kind pattern; do
    # shellcheck disable=SC2053  # the pattern is a glob, matched as dpkg matches it
    [[ $1 == $pattern ]] || continue
    [ "$kind" = path-exclude ] && excluded=0 || excluded=1
  done < <(cat /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d/* 2>/dev/null |
           sed -nE 's/^[[:space:]]*(path-(ex|in)clude)[[:space:]=]+/\1 /p')
  return $excluded
}
page=/usr/share/man/man1/zenavo.1.gz
if [ -f "$page" ]; then
  check_page "man -l $page" "$page"
  [ "$(man -w zenavo)" = "$page" ] && man zenavo >/dev/null 2>&1 && pass "man zenavo" ||
    fail "man zenavo does not find $page"
elif dpkg_excludes "$page"; then
  # This system (a trimmed container image) tells dpkg not to unpack manual pages: the page is
  # checked as the package holds it, and `man zenavo` cannot work here.
  echo "note: dpkg's path-exclude keeps $page off this system; checking the page in the package"
  unpacked=$(mktemp -d)
  dpkg-deb -x "$deb" "$unpacked"
  check_page "man -l on the packaged page" "$unpacked$page"
  rm -rf "$unpacked"
else
  fail "$page not installed"
fi

snapshot() { find "$folder" -printf '%p %s %m %T@\n' | sort; }
before=$(snapshot)

# --- Run as a user who owns nothing here -------------------------------------------------------
user=nobody
home=$(mktemp -d)
chown "$user" "$home"
as_user() { runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 "$@"; }

# Runs the table command through `program`; checks a full table with results came out.
check_table() {
  local what=$1 program=$2 out err status=0
  out=$(as_user "$program" --tabela --cidade "São Paulo/SP" 2>"$home/err") || status=$?
  err=$(cat "$home/err")
  if [ "$status" -ne 0 ]; then fail "$what: exit $status: $err"; return; fi
  local lines caption starOne
  lines=$(printf '%s\n' "$out" | wc -l)
  caption=${out%%$'\n'*}  # no `head -1`: exiting first, it can SIGPIPE printf under pipefail
  starOne=$(printf '%s\n' "$out" | grep '^Star One C4,' || true)
  [ "$lines" -eq 55 ] || fail "$what: $lines lines, not 55"
  [ "$caption" = "Satelite,Posição,Azimute,Elevação,Az. Magnet,Hora Az.,Polarização" ] ||
    fail "$what: caption row is '$caption'"
  [[ "$starOne" =~ ^Star\ One\ C4,-70\.0,312\.[0-9]+,[0-9.]+,3[0-9][0-9]\.[0-9]+, ]] ||
    fail "$what: Star One C4 row is '$starOne'"
  pass "$what"
}

check_table "installed /usr/bin/zenavo" /usr/bin/zenavo
as_user /usr/bin/zenavo --help | grep -q "^Uso: zenavo --tabela" && pass "--help without a display" ||
  fail "--help without a display"
places=$(mktemp -d)
chmod 755 "$places"
mkdir -p "$places/links" "$places/Área de trabalho/instalação nova"
ln -s ../../../usr/bin/zenavo "$places/links/relative"        # relative, through /usr/bin's link
ln -s relative "$places/links/link-to-link"
ln -s /usr/bin/zenavo "$places/Área de trabalho/instalação nova/zenavo atalho"
chmod -R a+rX "$places"
(cd "$places/links" && check_table "relative link" ./relative)
(cd "$places/links" && check_table "link to a link" ./link-to-link)
check_table "link in a folder with spaces and accents" "$places/Área de trabalho/instalação nova/zenavo atalho"
cp -a "$folder" "$places/Área de trabalho/instalação nova/Zenavo cópia"
chmod -R a+rX "$places"
check_table "copy of the folder under spaces and accents" "$places/Área de trabalho/instalação nova/Zenavo cópia/zenavo"

# --- Files missing: the program says which ------------------------------------------------
check_missing() {
  local what=$1 expected=$2 copy="$places/faltando"; shift 2
  rm -rf "$copy" && cp -a "$folder" "$copy" && chmod -R a+rX "$copy"
  for f in "$@"; do rm -f "$copy/$f"; done
  local status=0 err
  as_user "$copy/zenavo" --tabela -23.5 -46.6 700 >/dev/null 2>"$home/err" || status=$?
  err=$(cat "$home/err")
  if [ "$status" -eq 2 ] && grep -qF -- "$expected" <<<"$err"; then pass "$what"
  else fail "$what: exit $status, said: $err"; fi
}
check_missing "data files missing" "Cannot open file $places/faltando/satelite_vg.csv." \
  satelite.csv satelite_vg.csv
check_missing "city files missing" "Cannot open file $places/faltando/municipios_vg.csv." \
  municipios.csv municipios_vg.csv
check_missing "calculator missing" "Could not execute command line!" magc
check_missing "magnetic model missing" "(magc: " WMM2025.COF

# --- The window itself comes up (offscreen) and keeps running until closed -----------------
status=0
as_user env QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/zenavo >/dev/null 2>"$home/err" || status=$?
[ "$status" -eq 124 ] && pass "window runs until closed" ||
  fail "window ended with $status: $(cat "$home/err")"

[ "$(snapshot)" = "$before" ] && pass "installed folder unchanged" || fail "installed folder changed"
rm -rf "$places" "$home"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq zenavo >/dev/null
trap - EXIT
[ ! -e "$folder" ] && [ ! -e /usr/bin/zenavo ] && pass "removed cleanly" || fail "files left after removal"

if [ "$failures" -ne 0 ]; then echo "install_and_run: $failures failure(s)" >&2; exit 1; fi
echo "install_and_run: all passed"
