#!/usr/bin/env bash
# Prints the address of the Debian archive that apt on this machine already uses for a release
# (default bookworm): the first enabled "deb" entry for exactly that suite with the main
# component, read in apt's own order from /etc/apt/sources.list, then the files of
# /etc/apt/sources.list.d/ by name: *.list in the one-line form, *.sources in the deb822 form.
# Update and security suites, source entries, disabled entries and other archives do not count.
# When no entry qualifies it says so on stderr and exits 1: the project names no package host
# of its own, so there is nothing to fall back to.
#
# Usage: scripts/apt-mirror.sh [--root DIR] [suite]
#   --root DIR  read DIR/etc/apt/... instead of /etc/apt/... (a system image, a chroot)
set -euo pipefail
root=
if [ "${1:-}" = "--root" ]; then
  root=${2:?apt-mirror.sh: --root needs a folder}
  shift 2
fi
suite=${1:-bookworm}
etc=$root/etc/apt

files=()
[ -f "$etc/sources.list" ] && files+=("$etc/sources.list")
if [ -d "$etc/sources.list.d" ]; then
  while IFS= read -r -d '' f; do
    files+=("$f")
  done < <(find "$etc/sources.list.d" -maxdepth 1 -type f \( -name '*.list' -o -name '*.sources' \) -print0 | sort -z)
fi

mirror=
for f in "${files[@]}"; do
  case $f in
    *.sources) form=deb822 ;;
    *) form=oneline ;;
  esac
  mirror=$(awk -v form="$form" -v suite="$suite" '
    function usable(uri) { return uri ~ /^(http|https|ftp|file):/ }
    function has(list, word,    n, i, parts) {
      n = split(list, parts, /[ \t]+/)
      for (i = 1; i <= n; i++) if (parts[i] == word) return 1
      return 0
    }
    # One-line form: deb [options] uri suite component...
    form == "oneline" {
      sub(/#.*/, "")
      if ($1 != "deb") next
      i = 2
      if ($i ~ /^\[/) {
        while (i <= NF && $i !~ /\]$/) i++
        i++
      }
      uri = $i; dist = $(i + 1)
      components = ""
      for (j = i + 2; j <= NF; j++) components = components " " $j
      if (usable(uri) && dist == suite && has(components, "main")) { print uri; exit }
      next
    }
    # deb822 form: stanzas of "Field: value" lines, continuation lines begin with a blank.
    function stanza_done(    n, i, uris) {
      if (has(f["types"], "deb") && tolower(f["enabled"]) != "no" && has(f["suites"], suite) \
          && has(f["components"], "main")) {
        n = split(f["uris"], uris, /[ \t]+/)
        for (i = 1; i <= n; i++) if (usable(uris[i])) { print uris[i]; found = 1; return }
      }
      delete f
    }
    form == "deb822" {
      if ($0 ~ /^#/) next
      if ($0 ~ /^[ \t]*$/) { stanza_done(); if (found) exit; next }
      if ($0 ~ /^[ \t]/) { if (field != "") f[field] = f[field] " " $0; next }
      field = tolower($0); sub(/:.*/, "", field)
      value = $0; sub(/^[^:]*:[ \t]*/, "", value)
      f[field] = value
      next
    }
    END { if (form == "deb822" && !found) stanza_done() }
  ' "$f")
  if [ -n "$mirror" ]; then
    mirror=${mirror%% *}
    break
  fi
done

if [ -z "$mirror" ]; then
  {
    echo "apt-mirror.sh: apt on this machine lists no Debian archive for $suite."
    echo "  Looked for an enabled \"deb\" entry with suite \"$suite\" and component \"main\" in"
    echo "  $etc/sources.list, $etc/sources.list.d/*.list and $etc/sources.list.d/*.sources"
    echo "  (${#files[@]} file(s) found). Add the archive you use there, run apt-get update, and try again."
  } >&2
  exit 1
fi
printf '%s\n' "$mirror"
