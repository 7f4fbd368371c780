#!/usr/bin/env bash
# CPack makes the Windows zip: one folder with quorvel.exe and the README;
# the program carries its icon and a version resource of this version, as
# Explorer shows them.
# Usage: test_win32_zip.sh BUILD_DIR SOURCE_DIR VERSION
build="$1" source="$2" version="$3"
# shellcheck source=tests/install/lib.sh
. "$(dirname "$0")/lib.sh"
need cpack wrestool strings

zip="$(make_package "$build" ZIP)" || exit 1
folder="quorvel-$version-win64"
[ "$(basename "$zip")" = "$folder.zip" ] || problem "the zip is named $(basename "$zip")"
listing="$(cmake -E tar tf "$zip" | sort)"
expected="$(printf '%s\n' "$folder/README.md" "$folder/quorvel.exe")"
[ "$listing" = "$expected" ] || problem "the zip holds:
$listing
and not:
$expected"

mkdir -p "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip") || fail "the zip does not unpack"
exe="$work/unpacked/$folder/quorvel.exe"
[ -f "$exe" ] || fail "no quorvel.exe in the zip"
cmp -s "$source/README.md" "$work/unpacked/$folder/README.md" || problem "the README in the zip is not the README"

resources="$(wrestool -l "$exe")"
grep -q -- '--type=14 --name=128 ' <<<"$resources" || problem "quorvel.exe has no icon group 128: $resources"
grep -q -- '--type=16 ' <<<"$resources" || fail "quorvel.exe has no version resource: $resources"

# The string table of the version resource, as "Key=Value" lines.
wrestool -x --raw --type=16 "$exe" | strings -el -n 1 >"$work/version.txt"
value() { awk -v k="$1" 'found { print; exit } $0 == k { found = 1 }' "$work/version.txt"; }
[ "$(value ProductVersion)" = "$version" ] || problem "ProductVersion is '$(value ProductVersion)', not $version"
file_version="$(value FileVersion)"
case "$file_version" in
  "$version" | "$version".*) ;;
  *) problem "FileVersion is '$file_version', not $version" ;;
esac
[ "$(value ProductName)" = "Quorvel" ] || problem "ProductName is '$(value ProductName)'"
[ "$(value CompanyName)" = "Ostrin" ] || problem "CompanyName is '$(value CompanyName)', not the maker's"
[ -n "$(value FileDescription)" ] || problem "the version resource has no FileDescription"
[ "$(value OriginalFilename)" = "quorvel.exe" ] || problem "OriginalFilename is '$(value OriginalFilename)'"

finish
