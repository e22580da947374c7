#!/usr/bin/env bash
# The Debian archive the package test bootstraps from comes from apt's own sources and nowhere
# else: scripts/apt-mirror.sh against made-up apt folders (one-line and deb822 forms, entries
# that must not count, apt's file order), then scripts/test-deb.sh with no sources at all, which
# must stop before it installs, builds or downloads anything.
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
lookup=$src/scripts/apt-mirror.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# case NAME SUITE EXPECTED: EXPECTED is the address, or "-" for "none found".
case_root() { mkdir -p "$work/$1/etc/apt/sources.list.d"; echo "$work/$1"; }
check() {
  local name=$1 suite=$2 expected=$3 out err rc
  out=$("$lookup" --root "$work/$name" "$suite" 2>"$work/$name.err"); rc=$?
  err=$(cat "$work/$name.err")
  if [ "$expected" = "-" ]; then
    [ $rc -eq 1 ] || fail "$name: exit $rc, printed '$out' (expected no archive)"
    [ -z "$out" ] || fail "$name: printed '$out' although nothing qualifies"
    grep -q "lists no Debian archive for $suite" <<<"$err" || fail "$name: no clear message: $err"
  else
    [ $rc -eq 0 ] || fail "$name: exit $rc: $err"
    [ "$out" = "$expected" ] || fail "$name: '$out', expected '$expected'"
  fi
}

r=$(case_root oneline)
cat >"$r/etc/apt/sources.list" <<'S'
# deb http://commented.example/debian bookworm main
deb-src http://source.example/debian bookworm main
deb http://security.example/debian-security bookworm-security main
deb http://updates.example/debian bookworm-updates main
deb http://contrib-only.example/debian bookworm contrib non-free
deb cdrom:[Debian GNU/Linux 12]/ bookworm main
deb [ arch=amd64 signed-by=/usr/share/keyrings/k.gpg ] http://mirror.example/debian/ bookworm main contrib # trailing remark
deb http://later.example/debian bookworm main
S
check oneline bookworm http://mirror.example/debian/
check oneline trixie -

r=$(case_root deb822)
cat >"$r/etc/apt/sources.list.d/debian.sources" <<'S'
Types: deb
URIs: http://disabled.example/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb-src
URIs: http://source.example/debian
Suites: bookworm
Components: main

# A key block: its lines begin with a blank and belong to Signed-By.
types: deb deb-src
uris: cdrom:/media/cd http://mirror822.example/debian
suites: bookworm-updates bookworm
components: contrib main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 URIs: http://inside-a-key.example/debian
 .
 -----END PGP PUBLIC KEY BLOCK-----
S
check deb822 bookworm http://mirror822.example/debian

# The last stanza needs no blank line after it; options in brackets without blanks.
r=$(case_root order)
cat >"$r/etc/apt/sources.list" <<'S'
deb [arch=amd64] http://node.example/node_20.x nodistro main
S
printf 'deb http://a.example/debian trixie main\n' >"$r/etc/apt/sources.list.d/a.list"
printf 'Types: deb\nURIs: http://b.example/debian\nSuites: bookworm\nComponents: main' \
  >"$r/etc/apt/sources.list.d/b.sources"
printf 'deb http://c.example/debian bookworm main\n' >"$r/etc/apt/sources.list.d/c.list"
printf 'deb http://saved.example/debian bookworm main\n' >"$r/etc/apt/sources.list.d/0.list.save"
printf 'deb http://off.example/debian bookworm main\n' >"$r/etc/apt/sources.list.d/0.list.disabled"
check order bookworm http://b.example/debian
check order trixie http://a.example/debian

r=$(case_root others)
cat >"$r/etc/apt/sources.list.d/others.sources" <<'S'
Types: deb
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main

Types: deb
URIs: https://node.example/node_20.x
Suites: nodistro
Components: main
S
check others bookworm -
mkdir -p "$work/empty"
check empty bookworm -

# A script that installs or fetches packages names no host of its own.
for f in "$src"/scripts/*; do
  if grep -qE '\b(apt-get|debootstrap|curl|wget|pip3?)\b' "$f" && grep -qE '(https?|ftp)://' "$f"; then
    fail "$(basename "$f") names a package host: $(grep -nE '(https?|ftp)://' "$f" | head -n1)"
  fi
done

# The package test itself, with apt listing nothing: a message, and nothing else done. Its apt
# state is a scratch one, so whatever the script tried could not touch this machine's.
if [ "$(id -u)" -ne 0 ] || ! command -v unshare >/dev/null; then
  echo "SKIP: running scripts/test-deb.sh without apt sources needs root and unshare" >&2
  [ $failures -eq 0 ] || exit 1
  exit 77
fi
mkdir -p "$work/build"
unshare --mount --propagation private bash -c \
  'for d in /etc/apt /var/lib/apt /var/cache/apt; do mount -t tmpfs none "$d" || exit 2; done
   exec "$0/scripts/test-deb.sh" "$1"' "$src" "$work/build" \
  >"$work/deb.out" 2>"$work/deb.err"
rc=$?
[ $rc -eq 1 ] || fail "test-deb.sh without sources: exit $rc"
grep -q "lists no Debian archive for bookworm" "$work/deb.err" || fail "test-deb.sh gave no clear message: $(cat "$work/deb.err")"
[ ! -s "$work/deb.out" ] || fail "test-deb.sh went on: $(cat "$work/deb.out")"
[ -z "$(ls -A "$work/build")" ] || fail "test-deb.sh built something"

[ $failures -eq 0 ] || exit 1
echo "apt-mirror: all cases pass"
