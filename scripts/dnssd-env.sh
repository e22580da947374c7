#!/usr/bin/env bash
# A private local network for the discovery tests: a network namespace whose only multicast
# interface is one end of a veth pair, its own D-Bus system bus and its own DNS-SD daemon, so no packet
# leaves the machine and the host's daemon (if any) never sees the test services.
#
#   dnssd-env.sh run CMD [ARGS...]   build the environment, run CMD inside it, tear it down
#   dnssd-env.sh daemon-stop         (inside) stop the environment's DNS-SD daemon
#   dnssd-env.sh daemon-start        (inside) start it again
#
# Where the machine cannot build it (not root, no namespaces, daemon missing), `run` still runs
# CMD, outside, with CORKVANE_DNSSD_SKIP holding the reason, so the tests can report the skip.
set -uo pipefail
self=$(readlink -f "$0")

start_daemon() {
  avahi-daemon --no-drop-root --no-chroot --no-rlimits --no-proc-title \
    -f "$CORKVANE_DNSSD_DIR/avahi.conf" >>"$CORKVANE_DNSSD_DIR/avahi.log" 2>&1 &
  echo $! >"$CORKVANE_DNSSD_DIR/avahi.pid"
  # Ready once it owns its name on the bus.
  for _ in $(seq 100); do
    dbus-send --system --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
      string:org.freedesktop.Avahi 2>/dev/null | grep -q "boolean true" && return 0
    sleep 0.1
  done
  echo "dnssd-env: the DNS-SD daemon did not start" >&2
  cat "$CORKVANE_DNSSD_DIR/avahi.log" >&2
  return 1
}

stop_daemon() {
  local pid
  pid=$(cat "$CORKVANE_DNSSD_DIR/avahi.pid" 2>/dev/null) || return 0
  kill "$pid" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  rm -f "$CORKVANE_DNSSD_DIR/avahi.pid"
}

# Runs inside the namespace, in a mount namespace of its own: the daemon keeps its pid file and
# socket under a fixed folder, which must not clash with the host's or another test's daemon.
inside() {
  mount -t tmpfs tmpfs /run/avahi-daemon 2>/dev/null || { mkdir -p /run/avahi-daemon && mount -t tmpfs tmpfs /run/avahi-daemon; } || exit 97
  ip link set lo up
  # Both ends of the pair stay in the namespace; the daemon uses only cv0.
  ip link add cv0 type veth peer name cv1 || exit 97
  ip link set cv1 up
  ip link set cv0 multicast on up
  ip addr add 10.78.0.1/24 dev cv0
  ip route add 224.0.0.0/4 dev cv0
  dbus-daemon --config-file="$CORKVANE_DNSSD_DIR/bus.conf" --nofork --nopidfile >"$CORKVANE_DNSSD_DIR/bus.log" 2>&1 &
  local bus=$!
  for _ in $(seq 50); do [ -S "$CORKVANE_DNSSD_DIR/bus" ] && break; sleep 0.1; done
  start_daemon || { kill $bus; exit 98; }
  "$@"
  local rc=$?
  stop_daemon
  kill $bus 2>/dev/null
  wait $bus 2>/dev/null
  exit $rc
}


case "${1:-}" in
  daemon-stop) stop_daemon; exit 0 ;;
  daemon-start) start_daemon; exit $? ;;
  inside) shift; inside "$@" ;;
  run) shift ;;
  *) echo "usage: $0 run CMD [ARGS...] | daemon-stop | daemon-start" >&2; exit 2 ;;
esac

reason=""
if [ "$(id -u)" -ne 0 ]; then reason="needs root for a network namespace"
elif ! command -v avahi-daemon >/dev/null || ! command -v dbus-daemon >/dev/null; then reason="avahi-daemon or dbus-daemon is not installed"
elif ! command -v ip >/dev/null || ! command -v unshare >/dev/null; then reason="ip or unshare is missing"
fi
ns="cvdnssd$$"
if [ -z "$reason" ] && ! ip netns add "$ns" 2>/dev/null; then reason="cannot make a network namespace"; fi
if [ -n "$reason" ]; then
  CORKVANE_DNSSD_SKIP="$reason" exec "$@"
fi

dir=$(mktemp -d /tmp/cvdnssd.XXXXXX)
cleanup() { ip netns del "$ns" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
cat >"$dir/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$dir/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
cat >"$dir/avahi.conf" <<CONF
[server]
use-ipv4=yes
use-ipv6=no
allow-interfaces=cv0
enable-dbus=yes
ratelimit-interval-usec=0
[wide-area]
enable-wide-area=no
[publish]
disable-publishing=no
disable-user-service-publishing=no
publish-addresses=yes
publish-hinfo=no
publish-workstation=no
publish-domain=no
publish-aaaa-on-ipv4=no
publish-a-on-ipv6=no
[reflector]
enable-reflector=no
[rlimits]
CONF
export CORKVANE_DNSSD_DIR="$dir" CORKVANE_DNSSD_ENV="$self"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$dir/bus"
ip netns exec "$ns" unshare -m --propagation private "$self" inside "$@"
rc=$?
case $rc in
  97|98)
    cleanup; trap - EXIT
    CORKVANE_DNSSD_SKIP="the private DNS-SD daemon could not start here" exec "$@" ;;
esac
exit $rc
