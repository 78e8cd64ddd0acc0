#!/usr/bin/env bash
# Builds a throw-away LAN of network namespaces with simulated Orvane devices,
# runs one command on its PC, and always tears the LAN down again.
#
# The wizard broadcasts and pings; on this machine's real network that is not
# allowed, so everything that touches the network runs here instead. The only
# trace in the machine's own namespace is the set of named namespaces, each
# called <prefix>-<pid>-<random>-<role>, deleted on exit, on failure and on
# SIGINT/SIGTERM. Labs left behind by a killed run (SIGKILL) are deleted by the
# next run with the same prefix once their lab.sh process is gone.
set -uo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly repo_root

usage() {
  cat <<'EOF'
Usage: scripts/lab.sh [OPTIONS] [--device NAME ADDR/PREFIX[,GATEWAY] [DEVSIM OPTIONS]]... -- COMMAND [ARGS]

Creates a bridge namespace, a PC namespace and one namespace per device, all on
one Ethernet segment; starts orvane-devsim in each device namespace; runs
COMMAND in the PC namespace; then kills what it started and deletes the
namespaces. Exits with COMMAND's status (124 on --timeout, 130/143 when
interrupted, 77 when not root, 1 when the lab cannot be built). The options
below come before the first --device: everything after a --device belongs to
that device.

Options:
  --pc ADDR/PREFIX        the PC's address (default 192.168.50.10/24)
  --pc-gateway ADDR       the PC's default gateway (default 192.168.50.1; nothing
                          answers there, the route is what limited broadcasts need);
                          "none": no default route at all
  --pc2 ADDR/PREFIX[,GATEWAY]
                          a second adapter for the PC (eth1) on a second LAN of its
                          own; with GATEWAY it gets a default route of a higher
                          metric than eth0's. Devices join it with --lan2
  --drop-replies PCT      the PC drops PCT % (0-100) of the UDP datagrams to its
                          port 12310, each one by chance on its own (nftables)
  --device NAME ADDR/PREFIX[,GATEWAY] [DEVSIM OPTIONS...]
                          a device namespace NAME (lower-case letters and digits)
                          with that address; the gateway defaults to the first
                          address of its subnet. The words up to the next --device
                          or -- go to its orvane-devsim after the lab's own
                          (--id 00:0A:1B:2C:3D:4E, 4F, 50... and --host FILER1,
                          FILER2... by position; --ip --netmask --gateway
                          --interface --log --lifetime from the lab), so they
                          can override them. Words for the lab, not the
                          simulator: --no-sim (no simulator, just the
                          namespace), --lan2 (on the PC's second LAN),
                          --ignore-echo (the namespace drops echo requests but
                          answers ARP), --hold FIRST-LAST (the namespace also
                          holds the addresses of its subnet whose last part is
                          FIRST to LAST), --drop-requests PCT (the namespace
                          drops PCT % of the UDP datagrams to its port 12311,
                          as --drop-replies does).
                          A device whose identity (the lab's or its last --id)
                          reads as a unicast hardware address, 00:0A:1B:2C:3D:4E
                          or 00-0a-..., has it on eth0 if no earlier one has.
                          Without any --device: a 192.168.50.20/24 (FILER1) and
                          b 10.20.30.40/24 (FILER2, a foreign subnet, --apply).
  --devsim PATH           the simulator (default $ORVANE_DEVSIM, else
                          build/dev/tools/devsim/orvane-devsim)
  --prefix NAME           namespace name prefix (default orvlab)
  --lifetime SECONDS      simulators stop by themselves after this (default 900)
  --timeout SECONDS       stop COMMAND after this and exit 124 (default: none)
  --log-dir DIR           keep the simulators' logs in DIR (default: a temporary
                          directory removed at the end)
  --as USER               run COMMAND as USER instead of root (e.g. $SUDO_USER,
                          so shortcuts land on that user's desktop)
  -h, --help              this text

COMMAND sees these variables:
  LAB_RUN_ID LAB_PC_NS LAB_BRIDGE_NS LAB_PC_IF LAB_PC_ADDR LAB_PC_PREFIX
  LAB_PC_NETMASK LAB_PC_GATEWAY LAB_LOG_DIR LAB_DEVSIM
  LAB_PC2_IF LAB_PC2_ADDR LAB_PC2_PREFIX LAB_PC2_NETMASK LAB_PC2_GATEWAY (with --pc2)
  LAB_DEVICES           device names, blank-separated, in order
  LAB_DEV_LOGS          their simulator logs, blank-separated, same order
  LAB_DEV_<NAME>_NS _IF _ADDR _PREFIX _NETMASK _GATEWAY _LOG _PID
                        per device, NAME in upper case (_LOG/_PID empty with --no-sim)

Examples:
  sudo scripts/lab.sh -- bash
  sudo scripts/lab.sh --device a 192.168.50.20/24 --host NAS1 \
       --device b 10.20.30.40/24 --apply -- build/dev/wizard/orvane-setup
EOF
}

say() { echo "lab: $*" >&2; }
die() {
  say "$*"
  exit 1
}

# ---- arguments -------------------------------------------------------------

pc_cidr=192.168.50.10/24
pc_gateway=192.168.50.1
pc2_where=""
devsim="${ORVANE_DEVSIM:-$repo_root/build/dev/tools/devsim/orvane-devsim}"
prefix=orvlab
lifetime=900
timeout=0
drop_replies=""
log_dir=""
run_as=""
dev_names=() dev_cidrs=() dev_gateways=() dev_opt_start=() dev_opt_count=() dev_opts=()

add_device() {  # NAME ADDR/PREFIX[,GATEWAY] [options...]
  local name=$1 where=$2
  shift 2
  [[ $name =~ ^[a-z0-9]{1,8}$ ]] || die "device name '$name': use 1-8 lower-case letters or digits"
  local name_taken
  for name_taken in "${dev_names[@]}"; do
    [[ $name_taken != "$name" ]] || die "device name '$name' given twice"
  done
  local cidr=${where%%,*} gateway=""
  [[ $where == *,* ]] && gateway=${where#*,}
  dev_names+=("$name")
  dev_cidrs+=("$cidr")
  dev_gateways+=("$gateway")
  dev_opt_start+=("${#dev_opts[@]}")
  dev_opt_count+=("$#")
  dev_opts+=("$@")
}

command_args=()
while (($#)); do
  case $1 in
    -h | --help) usage; exit 0 ;;
    --pc) pc_cidr=${2:?--pc needs ADDR/PREFIX}; shift 2 ;;
    --pc-gateway) pc_gateway=${2:?--pc-gateway needs an address}; shift 2 ;;
    --pc2) pc2_where=${2:?--pc2 needs ADDR/PREFIX}; shift 2 ;;
    --devsim) devsim=${2:?--devsim needs a path}; shift 2 ;;
    --prefix) prefix=${2:?--prefix needs a name}; shift 2 ;;
    --lifetime) lifetime=${2:?--lifetime needs seconds}; shift 2 ;;
    --timeout) timeout=${2:?--timeout needs seconds}; shift 2 ;;
    --drop-replies) drop_replies=${2:?--drop-replies needs a percentage}; shift 2 ;;
    --log-dir) log_dir=${2:?--log-dir needs a directory}; shift 2 ;;
    --as) run_as=${2:?--as needs a user}; shift 2 ;;
    --device)
      (($# >= 3)) || die "--device needs NAME and ADDR/PREFIX"
      name=$2 where=$3
      shift 3
      opts=()
      while (($#)) && [[ $1 != --device && $1 != -- ]]; do
        opts+=("$1")
        shift
      done
      add_device "$name" "$where" "${opts[@]}"
      ;;
    --) shift; command_args=("$@"); break ;;
    *) die "unknown option '$1' (see --help)" ;;
  esac
done

((${#command_args[@]})) || die "no command given: scripts/lab.sh [OPTIONS] -- COMMAND (see --help)"
[[ $prefix =~ ^[a-z][a-z0-9]{0,11}$ ]] || die "--prefix: 1-12 lower-case letters or digits, starting with a letter"
[[ $lifetime =~ ^[1-9][0-9]*$ ]] || die "--lifetime wants whole seconds"
[[ $timeout =~ ^[0-9]+$ ]] || die "--timeout wants whole seconds"
check_percent() {  # WHAT VALUE
  [[ $2 =~ ^([0-9]|[1-9][0-9]|100)$ ]] || die "$1 wants a percentage from 0 to 100, not '$2'"
}
[[ -z $drop_replies ]] || check_percent --drop-replies "$drop_replies"

if ((${#dev_names[@]} == 0)); then
  add_device a 192.168.50.20/24
  add_device b 10.20.30.40/24 --apply
fi

# ---- checks that decide whether a lab is possible at all -------------------

if [[ $(id -u) -ne 0 ]]; then
  say "needs root to create network namespaces; run it with sudo (skipping: exit 77)"
  exit 77
fi
command -v ip >/dev/null || { say "the ip command (iproute2) is missing (skipping: exit 77)"; exit 77; }

# Address arithmetic in plain bash: dotted <-> 32-bit number.
to_number() {
  local IFS=. a b c d
  read -r a b c d <<<"$1"
  echo $(((a << 24) | (b << 16) | (c << 8) | d))
}
to_dotted() { echo "$((($1 >> 24) & 255)).$((($1 >> 16) & 255)).$((($1 >> 8) & 255)).$(($1 & 255))"; }
prefix_mask() { to_dotted $(((0xffffffff << (32 - $1)) & 0xffffffff)); }
check_cidr() {
  [[ $1 =~ ^([0-9]{1,3}\.){3}[0-9]{1,3}/([0-9]|[12][0-9]|3[0-2])$ ]] || die "'$1' is not ADDR/PREFIX"
}

# The unicast link-layer address IDENTITY reads as (lower case, colons), or
# nothing. All zeros reads as none: the kernel refuses it.
mac_of() {
  local id=${1,,}
  [[ $id == *:*-* || $id == *-*:* ]] && return 0
  id=${id//-/:}
  [[ $id =~ ^[0-9a-f]{2}(:[0-9a-f]{2}){5}$ && $id != 00:00:00:00:00:00 ]] || return 0
  ((16#${id:0:2} & 1)) || echo "$id"
}

check_cidr "$pc_cidr"
[[ -z $pc2_where ]] || check_cidr "${pc2_where%%,*}"
needs_devsim=0 needs_nft=0
[[ -z $drop_replies ]] || needs_nft=1
dev_macs=()
declare -A mac_holder=()
for i in "${!dev_names[@]}"; do
  check_cidr "${dev_cidrs[$i]}"
  if [[ -z ${dev_gateways[$i]} ]]; then
    addr=${dev_cidrs[$i]%/*} len=${dev_cidrs[$i]#*/}
    mask=$(to_number "$(prefix_mask "$len")")
    dev_gateways[$i]=$(to_dotted $((($(to_number "$addr") & mask) + 1)))
  fi
  opts=("${dev_opts[@]:${dev_opt_start[$i]}:${dev_opt_count[$i]}}")
  identity=""
  if [[ " ${opts[*]} " != *" --no-sim "* ]]; then
    needs_devsim=1
    printf -v identity '00:0A:1B:2C:3D:%02X' $((0x4E + i))
  fi
  [[ " ${opts[*]} " != *" --lan2 "* || -n $pc2_where ]] || die "device ${dev_names[$i]}: --lan2 needs --pc2"
  set -- "${opts[@]}"
  while (($#)); do
    case $1 in
      --id) identity=${2:-}; shift ;;
      --id=*) identity=${1#--id=} ;;
      --drop-requests)
        check_percent "device ${dev_names[$i]}: --drop-requests" "${2:-}"
        needs_nft=1
        shift
        ;;
    esac
    shift
  done
  # Two interfaces with one address on one bridge would leave both half
  # reachable, so a later device with the same identity keeps a random one.
  mac=$(mac_of "$identity")
  if [[ -n $mac && -z ${mac_holder[$mac]:-} ]]; then
    mac_holder[$mac]=${dev_names[$i]}
  else
    mac=""
  fi
  dev_macs+=("$mac")
done
if ((needs_devsim)) && [[ ! -x $devsim ]]; then
  die "no simulator at $devsim: build it (cmake --build --preset dev --target orvane-devsim) or give --devsim"
fi
nft=$(PATH=$PATH:/usr/sbin:/sbin command -v nft)
if ((needs_nft)) && [[ -z $nft ]]; then
  say "--drop-replies/--drop-requests need nft (scripts/install-deps.sh) (skipping: exit 77)"
  exit 77
fi

# ---- teardown, armed before anything is created -----------------------------

run_id="$prefix-$$-$(od -An -N2 -tx2 /dev/urandom | tr -d ' \n')"
namespaces=()     # ours, in creation order
started_pids=()   # simulators, the command and the timer
temp_log_dir=""
interactive=0
[[ -t 0 ]] && interactive=1

stop_pids() {  # PID... : TERM, up to 3 s grace, then KILL
  local pid alive
  (($#)) || return 0
  kill -TERM "$@" 2>/dev/null
  for _ in $(seq 30); do
    alive=0
    for pid in "$@"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    ((alive)) || return 0
    sleep 0.1
  done
  kill -KILL "$@" 2>/dev/null
}

teardown() {
  local status=$?
  trap - EXIT INT TERM HUP
  local ns pids=()
  pids+=("${started_pids[@]}")
  # Whatever else runs in our namespaces was started by the command.
  for ns in "${namespaces[@]}"; do
    mapfile -t -O "${#pids[@]}" pids < <(ip netns pids "$ns" 2>/dev/null)
  done
  stop_pids "${pids[@]}"
  wait 2>/dev/null
  for ns in "${namespaces[@]}"; do
    ip netns del "$ns" 2>/dev/null || say "could not delete namespace $ns"
  done
  [[ -n $temp_log_dir ]] && rm -rf -- "$temp_log_dir"
  exit "$status"
}
trap teardown EXIT
trap 'exit 143' TERM
trap 'exit 129' HUP
trap 'exit 130' INT

# Labs of earlier runs whose lab.sh was killed outright have no one to delete
# them; their processes have outlived it, so stop those by PID first.
reap_stale_labs() {
  local ns owner pids
  for ns in $(ip netns list 2>/dev/null | awk '{print $1}'); do
    [[ $ns =~ ^$prefix-([0-9]+)-[0-9a-f]{4}-[a-z0-9-]+$ ]] || continue
    owner=${BASH_REMATCH[1]}
    kill -0 "$owner" 2>/dev/null && continue
    mapfile -t pids < <(ip netns pids "$ns" 2>/dev/null)
    stop_pids "${pids[@]}"
    ip netns del "$ns" 2>/dev/null && say "deleted stale namespace $ns"
  done
}
reap_stale_labs

# ---- the LAN ------------------------------------------------------------------

must() { "$@" || die "failed: $*"; }

new_ns() {  # ROLE: creates <run id>-ROLE and remembers it for the teardown
  local ns="$run_id-$1"
  ip netns add "$ns" || die "cannot create network namespace $ns (no CAP_SYS_ADMIN?)"
  namespaces+=("$ns")
  must ip -n "$ns" link set lo up
  # No IPv6 chatter on the lab segment; the wizard speaks IPv4 only.
  ip netns exec "$ns" sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 >/dev/null 2>&1
  ip netns exec "$ns" sysctl -q -w net.ipv6.conf.default.disable_ipv6=1 >/dev/null 2>&1
}

port_count=0
attach() {  # NS ADDR/PREFIX GATEWAY [BRIDGE [IF [METRIC [MAC]]]]: IF in NS, its peer on the bridge
  local ns=$1 cidr=$2 gateway=$3 bridge=${4:-br0} iface=${5:-eth0} metric=${6:-0} mac=${7:-}
  local port="p$port_count"
  port_count=$((port_count + 1))
  must ip -n "$bridge_ns" link add "$port" type veth peer name "$iface" netns "$ns"
  must ip -n "$bridge_ns" link set "$port" master "$bridge" up
  [[ -z $mac ]] || must ip -n "$ns" link set dev "$iface" address "$mac"
  must ip -n "$ns" addr add "$cidr" broadcast + dev "$iface"
  must ip -n "$ns" link set "$iface" up
  # A limited broadcast (255.255.255.255) is routed like any other address:
  # without a default route the send fails with ENETUNREACH. Nothing answers
  # at the gateway; "onlink" keeps a gateway outside the subnet acceptable.
  [[ $gateway == none || -z $gateway ]] && return 0
  must ip -n "$ns" route add default via "$gateway" dev "$iface" onlink metric "$metric"
}

# Drops PCT % of the UDP datagrams coming in to PORT in NS, each one by chance
# (there is no netem here). nft refuses "mod 100 < 100", so 100 is plain drop.
drop_udp() {  # NS PORT PCT
  local chance="numgen random mod 100 < $3"
  (($3 == 100)) && chance=""
  must ip netns exec "$1" "$nft" "add table ip lab_loss;
    add chain ip lab_loss input { type filter hook input priority 0; };
    add rule ip lab_loss input udp dport $2 $chance drop"
}

bridge_ns="$run_id-br"
new_ns br
for bridge in br0 br1; do
  must ip -n "$bridge_ns" link add "$bridge" type bridge stp_state 0
  must ip -n "$bridge_ns" link set "$bridge" up
done

pc_ns="$run_id-pc"
new_ns pc
attach "$pc_ns" "$pc_cidr" "$pc_gateway"
if [[ -n $pc2_where ]]; then
  pc2_cidr=${pc2_where%%,*} pc2_gateway=""
  [[ $pc2_where == *,* ]] && pc2_gateway=${pc2_where#*,}
  attach "$pc_ns" "$pc2_cidr" "$pc2_gateway" br1 eth1 100
  export LAB_PC2_IF=eth1 LAB_PC2_ADDR=${pc2_cidr%/*} LAB_PC2_PREFIX=${pc2_cidr#*/}
  LAB_PC2_NETMASK=$(prefix_mask "${pc2_cidr#*/}")
  export LAB_PC2_NETMASK LAB_PC2_GATEWAY=${pc2_gateway:-none}
fi
[[ -z $drop_replies ]] || drop_udp "$pc_ns" 12310 "$drop_replies"
# Unprivileged ICMP echo (datagram ICMP sockets) is refused by default ("1 0").
must ip netns exec "$pc_ns" sysctl -q -w net.ipv4.ping_group_range="0 2147483647"

if [[ -n $log_dir ]]; then
  must mkdir -p "$log_dir"
  log_dir=$(cd "$log_dir" && pwd)
else
  temp_log_dir=$(mktemp -d "${TMPDIR:-/tmp}/$run_id.XXXXXX") || die "cannot create a log directory"
  log_dir=$temp_log_dir
fi
chmod 755 "$log_dir"

export LAB_RUN_ID=$run_id LAB_PC_NS=$pc_ns LAB_BRIDGE_NS=$bridge_ns LAB_PC_IF=eth0
export LAB_PC_ADDR=${pc_cidr%/*} LAB_PC_PREFIX=${pc_cidr#*/} LAB_PC_GATEWAY=$pc_gateway
LAB_PC_NETMASK=$(prefix_mask "$LAB_PC_PREFIX")
export LAB_PC_NETMASK LAB_LOG_DIR=$log_dir LAB_DEVSIM=$devsim
export LAB_DEVICES="${dev_names[*]}"
LAB_DEV_LOGS=""

wait_ready() {  # PID LOG OUT NAME: the simulator writes READY once it listens
  local pid=$1 log=$2 out=$3 name=$4
  for _ in $(seq 100); do
    grep -q ' READY ' "$log" 2>/dev/null && return 0
    if ! kill -0 "$pid" 2>/dev/null; then
      cat "$out" >&2
      die "simulator of device $name stopped before it was ready"
    fi
    sleep 0.05
  done
  die "simulator of device $name not ready after 5 s (see $out)"
}

summary=()
for i in "${!dev_names[@]}"; do
  name=${dev_names[$i]} cidr=${dev_cidrs[$i]} gateway=${dev_gateways[$i]}
  ns="$run_id-d-$name"
  new_ns "d-$name"
  opts=()
  no_sim=0 lan=br0 ignore_echo=0 hold="" drop_requests=""
  set -- "${dev_opts[@]:${dev_opt_start[$i]}:${dev_opt_count[$i]}}"
  while (($#)); do
    case $1 in
      --no-sim) no_sim=1 ;;
      --lan2) lan=br1 ;;
      --ignore-echo) ignore_echo=1 ;;
      --hold) hold=${2:?--hold needs FIRST-LAST}; shift ;;
      --drop-requests) drop_requests=$2; shift ;;
      *) opts+=("$1") ;;
    esac
    shift
  done
  attach "$ns" "$cidr" "$gateway" "$lan" eth0 0 "${dev_macs[$i]}"
  [[ -z $drop_requests ]] || drop_udp "$ns" 12311 "$drop_requests"
  # The kernel drops echo requests; ARP it still answers, as it must.
  ((ignore_echo)) && must ip netns exec "$ns" sysctl -q -w net.ipv4.icmp_echo_ignore_all=1
  if [[ -n $hold ]]; then
    [[ $hold =~ ^([0-9]+)-([0-9]+)$ ]] || die "device $name: --hold wants FIRST-LAST"
    base=$(($(to_number "${cidr%/*}") & 0xffffff00))
    for ((part = BASH_REMATCH[1]; part <= BASH_REMATCH[2]; part++)); do
      must ip -n "$ns" addr add "$(to_dotted $((base + part)))/${cidr#*/}" dev eth0
    done
  fi
  var="LAB_DEV_${name^^}"
  export "${var}_NS=$ns" "${var}_IF=eth0" "${var}_ADDR=${cidr%/*}" "${var}_PREFIX=${cidr#*/}"
  export "${var}_NETMASK=$(prefix_mask "${cidr#*/}")" "${var}_GATEWAY=$gateway"
  export "${var}_LOG=" "${var}_PID="
  summary+=("$name $cidr$( ((no_sim)) && echo ' (no simulator)')")
  ((no_sim)) && continue
  log="$log_dir/$name.log" out="$log_dir/$name.out"
  : >"$log"
  # Every device gets an identity and host name of its own unless its options
  # say otherwise: 00:0A:1B:2C:3D:4E and FILER1 for the first, then counting up.
  printf -v identity '00:0A:1B:2C:3D:%02X' $((0x4E + i))
  ip netns exec "$ns" "$devsim" --id "$identity" --host "FILER$((i + 1))" \
    --ip "${cidr%/*}" --netmask "$(prefix_mask "${cidr#*/}")" --gateway "$gateway" \
    --interface eth0 --log "$log" --lifetime "$lifetime" \
    "${opts[@]}" </dev/null >"$out" 2>&1 &
  pid=$!
  started_pids+=("$pid")
  wait_ready "$pid" "$log" "$out" "$name"
  export "${var}_LOG=$log" "${var}_PID=$pid"
  LAB_DEV_LOGS+="${LAB_DEV_LOGS:+ }$log"
done
export LAB_DEV_LOGS

printf -v devices_text '%s, ' "${summary[@]}"
say "$run_id: pc $pc_cidr${pc2_where:+ and $pc2_where}; devices: ${devices_text%, }; logs in $log_dir"

# ---- the command ----------------------------------------------------------------

runner=(ip netns exec "$pc_ns")
if [[ -n $run_as ]]; then
  uid=$(id -u "$run_as") || die "no user $run_as"
  gid=$(id -g "$run_as")
  home=$(getent passwd "$run_as" | cut -d: -f6)
  runner+=(setpriv --reuid="$uid" --regid="$gid" --init-groups
    env HOME="$home" USER="$run_as" LOGNAME="$run_as")
fi
# The command runs in the background so that the traps above act as soon as a
# signal comes in. Bash starts background jobs with SIGINT ignored and stdin
# on /dev/null; env gives Ctrl-C back to the command and <&0 its stdin.
runner+=(env "--default-signal=INT,QUIT")

# A command run from a terminal (say, -- bash) gets Ctrl-C itself and the lab
# ends when it does; otherwise Ctrl-C tears the lab down at once.
((interactive)) && trap ':' INT
"${runner[@]}" "${command_args[@]}" <&0 &
command_pid=$!
started_pids+=("$command_pid")
watch=("$command_pid")
if ((timeout > 0)); then
  sleep "$timeout" &
  timer_pid=$!
  started_pids+=("$timer_pid")
  watch+=("$timer_pid")
fi
while :; do
  finished=""
  wait -n -p finished "${watch[@]}"
  status=$?
  # An empty `finished` means a trapped signal (Ctrl-C at a terminal) ended
  # the wait, not a process: wait again.
  [[ ${finished:-} == "$command_pid" ]] && exit "$status"
  if [[ -n ${finished:-} ]]; then
    say "timed out after $timeout s"
    exit 124
  fi
done
