#!/usr/bin/env bash
# `cmake --install` into a staging folder (DESTDIR) lays out a desktop
# application: the program, its desktop entry, the icon in the hicolor theme
# at every size and as SVG, AppStream metadata, the manual page and the
# README; the entry and the metadata pass their validators, and the manual
# page renders without a warning and describes every option --help lists.
# Usage: test_install_tree.sh BUILD_DIR SOURCE_DIR VERSION APP_ID
build="$1" source="$2" version="$3" app_id="$4"
# shellcheck source=tests/install/lib.sh
. "$(dirname "$0")/lib.sh"
need desktop-file-validate appstreamcli man file

stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  fail "cmake --install failed"
}
usr="$stage/usr"

# --- The tree ------------------------------------------------------------------
expected=(
  bin/quorvel
  "share/applications/$app_id.desktop"
  "share/metainfo/$app_id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$app_id.svg"
  share/man/man1/quorvel.1.gz
  share/doc/quorvel/README.md
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for path in "${expected[@]}"; do
  [ -f "$usr/$path" ] || problem "the install does not hold /usr/$path"
done
[ -x "$usr/bin/quorvel" ] || problem "/usr/bin/quorvel is not executable"
stray="$(cd "$stage" && find . -type f ! -path './usr/*')"
[ -z "$stray" ] || problem "files installed outside the prefix: $stray"
devel="$(cd "$usr" && find . -type f \( -path './include/*' -o -name '*.a' -o -name '*.cmake' -o -name '*.pc' \))"
[ -z "$devel" ] || problem "development files installed: $devel"
cmp -s "$source/README.md" "$usr/share/doc/quorvel/README.md" || problem "the installed README is not the README"

for size in 16 22 24 32 48 64 128 256; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ -f "$icon" ] || continue
  file -b "$icon" | grep -q "^PNG image data, $size x $size," ||
    problem "the ${size}x${size} icon is $(file -b "$icon")"
done
svg="$usr/share/icons/hicolor/scalable/apps/$app_id.svg"
[ -f "$svg" ] && ! file -b "$svg" | grep -q "SVG" && problem "the scalable icon is $(file -b "$svg")"

got="$("$usr/bin/quorvel" --version)"
[ "$got" = "quorvel $version" ] || problem "the installed quorvel --version prints '$got', not 'quorvel $version'"

# --- The desktop entry ---------------------------------------------------------
desktop="$usr/share/applications/$app_id.desktop"
if [ -f "$desktop" ]; then
  out="$(desktop-file-validate "$desktop" 2>&1)" || problem "desktop-file-validate: $out"
  [ -z "$out" ] || problem "desktop-file-validate has remarks: $out"
  entry() { sed -n "s/^$1=//p" "$desktop"; }
  [ "$(entry Icon)" = "$app_id" ] || problem "the desktop entry's icon is '$(entry Icon)', not $app_id"
  [ "$(entry Terminal)" = "false" ] || problem "the desktop entry does not say Terminal=false"
  exec_program="$(entry Exec | cut -d' ' -f1)"
  [ -x "$usr/bin/$exec_program" ] || problem "the desktop entry starts '$exec_program', which is not installed in /usr/bin"
  for key in Name Comment Categories; do
    [ -n "$(entry "$key")" ] || problem "the desktop entry has no $key"
  done
fi

# --- The AppStream metadata ----------------------------------------------------
metainfo="$usr/share/metainfo/$app_id.metainfo.xml"
if [ -f "$metainfo" ]; then
  out="$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1)" || problem "appstreamcli validate: $out"
  grep -qE '^ *[EWIP]: ' <<<"$out" && problem "appstreamcli validate has remarks: $out"
  out="$(appstreamcli validate-tree --no-net --pedantic "$stage" 2>&1)" || problem "appstreamcli validate-tree: $out"
  grep -qE '^ *[EWIP]: ' <<<"$out" && problem "appstreamcli validate-tree has remarks: $out"

  # One identifier everywhere, the release is this version, and every
  # screenshot named is a picture kept in dist/screenshots/ at its size.
  grep -q "<id>$app_id</id>" "$metainfo" || problem "the metadata's id is not $app_id"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    problem "the metadata does not launch $app_id.desktop"
  grep -q "<binary>quorvel</binary>" "$metainfo" || problem "the metadata does not provide the binary quorvel"
  grep -q "<release version=\"$version\"" "$metainfo" || problem "the metadata has no release $version"
  shots=0
  while read -r width height name; do
    shots=$((shots + 1))
    picture="$source/dist/screenshots/$name"
    if [ ! -f "$picture" ]; then
      problem "the screenshot $name is not in dist/screenshots/"
    elif ! file -b "$picture" | grep -q "^PNG image data, $width x $height,"; then
      problem "dist/screenshots/$name is $(file -b "$picture"), not ${width}x$height as the metadata says"
    fi
  done < <(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">https://www\.quorvel\.net/screenshots/\([^<]*\)</image>.*|\1 \2 \3|p' "$metainfo")
  [ "$shots" -ge 1 ] || problem "the metadata names no screenshot under https://www.quorvel.net/screenshots/"
fi

# --- The manual page -----------------------------------------------------------
page="$usr/share/man/man1/quorvel.1.gz"
if [ -f "$page" ]; then
  MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >"$work/page.txt" 2>"$work/page.err" ||
    problem "man could not render the manual page"
  [ -s "$work/page.err" ] && problem "the manual page renders with warnings: $(cat "$work/page.err")"
  for heading in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES "EXIT STATUS" EXAMPLES; do
    grep -qx "$heading" "$work/page.txt" || problem "the manual page has no $heading section"
  done
  # section NAME: the lines of one section of the rendered page.
  section() { awk -v h="$1" '/^[A-Z]/ { inside = ($0 == h); next } inside' "$work/page.txt"; }
  for variable in QUORVEL_RESULTS_URL XDG_CONFIG_HOME; do
    section ENVIRONMENT | grep -qE "^ {7}$variable\$" || problem "ENVIRONMENT does not describe $variable"
  done
  grep -q "Quorvel $version" "$work/page.txt" || problem "the manual page is not that of version $version"
  # Every option --help names has an entry of its own under OPTIONS.
  mapfile -t options < <("$usr/bin/quorvel" --help | grep -oE -- '(^|[][ |,])--?[a-z][a-z0-9-]*' |
    sed -E 's/^[][ |,]//' | sort -u)
  [ ${#options[@]} -ge 3 ] || problem "quorvel --help names only: ${options[*]}"
  section OPTIONS >"$work/options.txt"
  for option in "${options[@]}"; do
    grep -qE -- "^ {7}(-[a-z0-9-]+, )*$option([ ,]|\$)" "$work/options.txt" ||
      problem "the manual page's OPTIONS have no entry for $option"
  done
fi

finish
