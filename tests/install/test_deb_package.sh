#!/usr/bin/env bash
# CPack makes a .deb of this version whose Depends name the package of every
# library the program links (found by dpkg-shlibdeps) and xdg-utils; it
# installs into a scratch root, where the installed quorvel answers
# --version, and removes again without leaving a file behind.
# Usage: test_deb_package.sh BUILD_DIR VERSION
build="$1" version="$2"
# shellcheck source=tests/install/lib.sh
. "$(dirname "$0")/lib.sh"
need cpack dpkg dpkg-deb dpkg-shlibdeps objdump ldd

deb="$(make_package "$build" DEB)" || exit 1
[ "$(basename "$deb")" = "quorvel_${version}_$(dpkg --print-architecture).deb" ] ||
  problem "the package is named $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "quorvel" ] || problem "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || problem "Version is '$(field Version)', not $version"
for name in Maintainer Description Architecture; do
  [ -n "$(field "$name")" ] || problem "the package has no $name"
done

# The packages that hold the libraries the packaged program needs: each
# library as the loader finds it here, and the package that owns that file.
dpkg-deb -x "$deb" "$work/content"
depends=",$(field Depends | tr -d ' '),"
# listed NAME: whether Depends names the package NAME.
listed() { awk -v d="$depends" -v n="$1" 'BEGIN { exit index(d, "," n ",") == 0 && index(d, "," n "(") == 0 }'; }
# owner PATH: the package that installed PATH, with or without a merged /usr.
owner() {
  local path
  for path in "$1" "${1#/usr}" "/usr$1"; do
    dpkg -S "$path" 2>/dev/null | head -n 1 | cut -d: -f1 | grep . && return 0
  done
  return 1
}
mapfile -t needed < <(objdump -p "$work/content/usr/bin/quorvel" | awk '$1 == "NEEDED" { print $2 }')
[ ${#needed[@]} -gt 0 ] || problem "the packaged program links no library"
found="$(ldd "$work/content/usr/bin/quorvel")"
for library in "${needed[@]}"; do
  path="$(awk -v l="$library" '$1 == l && $2 == "=>" { print $3 }' <<<"$found")"
  if [ -z "$path" ]; then
    problem "the loader does not find $library"
  elif ! package="$(owner "$path")"; then
    problem "no installed package holds $path"
  elif ! listed "$package"; then
    problem "Depends lacks $package (for $library): $(field Depends)"
  fi
done
listed xdg-utils || problem "Depends lacks xdg-utils: $(field Depends)"

# Install and remove in a scratch root whose package database is this
# machine's, so that the dependencies are checked against what is installed
# (the files lists are left empty: nothing in the root belongs to them).
root="$work/root"
admin="$root/var/lib/dpkg"
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
cp /var/lib/dpkg/status "$admin/status"
: >"$admin/available"
for list in /var/lib/dpkg/info/*.list; do : >"$admin/info/$(basename "$list")"; done
# The scratch root is the caller's own, so no superuser is needed for it.
dpkg=(dpkg --root="$root" --log=/dev/null)
[ "$(id -u)" -eq 0 ] || dpkg+=(--force-not-root)
if ! "${dpkg[@]}" -i "$deb" >"$work/dpkg.log" 2>&1; then
  problem "dpkg -i failed: $(cat "$work/dpkg.log")"
else
  grep -q 'warning' "$work/dpkg.log" && problem "dpkg -i warned: $(cat "$work/dpkg.log")"
  got="$("$root/usr/bin/quorvel" --version 2>&1)"
  [ "$got" = "quorvel $version" ] || problem "the installed quorvel --version prints '$got'"
  "${dpkg[@]}" -L quorvel | grep -qx /usr/share/man/man1/quorvel.1.gz ||
    problem "dpkg does not list the manual page as the package's"
  "${dpkg[@]}" -r quorvel >"$work/dpkg.log" 2>&1 ||
    problem "dpkg -r failed: $(cat "$work/dpkg.log")"
  left="$(cd "$root" && find . -mindepth 1 ! -path './var' ! -path './var/*')"
  [ -z "$left" ] || problem "dpkg -r left behind: $left"
fi

finish
