#!/usr/bin/env bash
# Two private computers for the sync tests: two network namespaces joined by a veth pair, one
# address each and no other way out, torn down when the command ends.
#
#   sync-env.sh run CMD [ARGS...]
#
# CMD runs in the machine's own namespace with CORKVANE_SYNC_NS_A / CORKVANE_SYNC_NS_B (the
# namespaces, for `ip netns exec`) and CORKVANE_SYNC_ADDR_A / CORKVANE_SYNC_ADDR_B set. Where the
# machine cannot make them (not root, no namespaces, Syncthing missing), CMD still runs, with
# CORKVANE_SYNC_SKIP holding the reason, so the tests can report themselves skipped.
set -uo pipefail

case "${1:-}" in
  run) shift ;;
  *) echo "usage: $0 run CMD [ARGS...]" >&2; exit 2 ;;
esac

a="cvsynca$$"
b="cvsyncb$$"
addr_a=10.79.0.1
addr_b=10.79.0.2
teardown() {
  ip netns del "$a" 2>/dev/null
  ip netns del "$b" 2>/dev/null
}

reason=""
if [ "$(id -u)" -ne 0 ]; then reason="needs root for network namespaces"
elif ! command -v syncthing >/dev/null; then reason="syncthing is not installed (apt-get install syncthing)"
elif ! command -v ip >/dev/null; then reason="ip (iproute2) is missing"
elif ! ip netns add "$a" 2>/dev/null; then reason="cannot make a network namespace"
elif ! ip netns add "$b" 2>/dev/null; then reason="cannot make a network namespace"; teardown
fi
if [ -z "$reason" ]; then
  trap teardown EXIT
  if ! { ip link add "cva$$" netns "$a" type veth peer name "cvb$$" netns "$b" &&
         ip -n "$a" link set lo up && ip -n "$b" link set lo up &&
         ip -n "$a" addr add "$addr_a/24" dev "cva$$" && ip -n "$b" addr add "$addr_b/24" dev "cvb$$" &&
         ip -n "$a" link set "cva$$" up && ip -n "$b" link set "cvb$$" up; }; then
    reason="cannot join the namespaces with a veth pair"
    teardown
    trap - EXIT
  fi
fi
if [ -n "$reason" ]; then
  CORKVANE_SYNC_SKIP="$reason" exec "$@"
fi

export CORKVANE_SYNC_NS_A="$a" CORKVANE_SYNC_NS_B="$b" CORKVANE_SYNC_ADDR_A="$addr_a" CORKVANE_SYNC_ADDR_B="$addr_b"
"$@"
exit $?
