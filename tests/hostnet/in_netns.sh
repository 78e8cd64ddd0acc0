#!/bin/sh
# Runs a command inside a network namespace made for it, never in the
# machine's own one, and exits with the command's status. Exits 77 (ctest:
# skipped) when the namespaces cannot be made: not root, no unshare, no veth.
#
#   in_netns.sh [--gateways both|x0|none] [--ping-group "LOW HIGH"] [--no-raw] -- COMMAND...
#
# The namespace the command runs in:
#   lo   up, 127.0.0.1
#   n0   index 5, a bridge without IPv4 address (not an adapter)
#   x0   index 10, veth: 10.77.5.9/22, then 192.168.50.7/24. Its peer x1 lives
#        in a second namespace as 10.77.4.1/22: a router that answers pings,
#        forwards, and reports 10.99.0.0/16 as unreachable.
#   b0   index 20, a bridge: 10.88.0.5/24, the second adapter, listed later
#        10.77.5.20 has a fixed neighbour entry with a hardware address nobody
#        has: requests to it leave x0 and are never answered, as for a host
#        that is switched off (without it, the failed address resolution
#        would end later probes early with a host-unreachable error).
#   routes  10.99.0.0/16 via 10.77.4.1 always; default routes by --gateways:
#        both: via 10.88.0.1 dev b0 metric 50 (listed first) and via 10.77.4.1
#              dev x0 metric 100; x0: only the x0 one; none: no default route.
# --ping-group sets net.ipv4.ping_group_range there (it starts as "1 0", which
# refuses datagram ICMP sockets); --no-raw runs the command without CAP_NET_RAW.
# The command gets ORVANE_LAB_OUTER_NETNS (the inode of the namespace this
# script was started in), ORVANE_LAB_PEER_NETNS (a path to the router's
# namespace) and ORVANE_LAB_INTERFACES (every interface it may see).
# Both namespaces vanish with their last process; the router's is killed when
# this script ends, however it ends.

skip() {
  echo "SKIPPED: $*" >&2
  exit 77
}

if [ "$1" != "--inside" ]; then
  [ "$(id -u)" = 0 ] || skip "network namespaces need root"
  for tool in unshare ip setpriv nsenter sysctl stat; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
  done
  unshare --net true 2>/dev/null || skip "unshare --net is not permitted here"
  outer=$(stat -L -c %i /proc/self/ns/net) || skip "cannot read this namespace"
  unshare --net -- sh "$0" --inside "$outer" "$@"
  exit $?
fi

shift
outer=$1
shift
gateways=x0
ping_group=
no_raw=
while [ $# -gt 0 ]; do
  case "$1" in
    --gateways) gateways=$2; shift 2 ;;
    --ping-group) ping_group=$2; shift 2 ;;
    --no-raw) no_raw=1; shift ;;
    --) shift; break ;;
    *) echo "in_netns.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

inner=$(stat -L -c %i /proc/self/ns/net)
[ -n "$inner" ] && [ "$inner" != "$outer" ] || skip "unshare left us in the outer namespace"

peer=
cleanup() {
  if [ -n "$peer" ]; then
    kill "$peer" 2>/dev/null
    wait "$peer" 2>/dev/null
  fi
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# IPv6 off, so that no router solicitation or address check adds packets to
# the interface counters that the tests read.
sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1 2>/dev/null

ip link set lo up &&
  ip link add n0 index 5 type bridge &&
  ip link add x0 index 10 type veth peer name x1 index 11 &&
  ip link add b0 index 20 type bridge ||
  skip "cannot create bridge and veth interfaces"

# The router's namespace is held by a sleeper that dies with this script
# (pdeathsig) or after five minutes at the latest.
setpriv --pdeathsig KILL -- unshare --net -- sleep 300 &
peer=$!
tries=0
while [ "$(stat -L -c %i "/proc/$peer/ns/net" 2>/dev/null)" = "$inner" ] ||
  [ ! -e "/proc/$peer/ns/net" ]; do
  tries=$((tries + 1))
  [ $tries -lt 500 ] || skip "the router namespace did not come up"
  sleep 0.01
done

ip link set x1 netns "$peer" &&
  nsenter --net="/proc/$peer/ns/net" -- sh -c '
    sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv4.ip_forward=1 &&
    ip link set lo up &&
    ip addr add 10.77.4.1/22 dev x1 &&
    ip link set x1 up &&
    ip route add unreachable 10.99.0.0/16' &&
  ip addr add 10.77.5.9/22 dev x0 &&
  ip addr add 192.168.50.7/24 dev x0 &&
  ip link set x0 up &&
  ip addr add 10.88.0.5/24 dev b0 &&
  ip link set b0 up &&
  ip route add 10.99.0.0/16 via 10.77.4.1 dev x0 &&
  ip neigh add 10.77.5.20 lladdr 02:00:0a:4d:05:14 dev x0 nud permanent ||
  skip "cannot configure the test network"

case "$gateways" in
  both)
    ip route add default via 10.88.0.1 dev b0 metric 50 &&
      ip route add default via 10.77.4.1 dev x0 metric 100 ;;
  x0) ip route add default via 10.77.4.1 dev x0 metric 100 ;;
  none) true ;;
  *) false ;;
esac || skip "cannot add the default routes ($gateways)"

if [ -n "$ping_group" ]; then
  sysctl -qw net.ipv4.ping_group_range="$ping_group" || skip "cannot set ping_group_range"
fi

# Wait until the veth link is up on both ends, so the first probe does not
# meet a link that is still coming up.
tries=0
until ip link show x0 | grep -q 'state UP'; do
  tries=$((tries + 1))
  [ $tries -lt 500 ] || skip "x0 did not come up"
  sleep 0.01
done

export ORVANE_LAB_OUTER_NETNS="$outer"
export ORVANE_LAB_PEER_NETNS="/proc/$peer/ns/net"
export ORVANE_LAB_INTERFACES="lo n0 x0 b0"
if [ -n "$no_raw" ]; then
  setpriv --bounding-set -net_raw -- "$@"
else
  "$@"
fi
exit $?
