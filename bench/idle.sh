#!/usr/bin/env bash
# Idle cost of the running program: CPU share over a window and resident
# memory, with no unit attached, with a connected simulated unit, and in the
# seconds after a connected unit went away, before its loss is reported.
# Targets: under 1 % of one core (under 2 % once the unit went away), under
# 60 MB resident.
#   bench/idle.sh [seconds]      (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-30}
bash scripts/build.sh >/dev/null
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

printf '{"screens":[{"name":"s0","x":0,"y":0,"width":1280,"height":1024,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]}' > "$work/screen.json"
export QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json"
tick=$(getconf CLK_TCK)

# measure NAME [SECONDS [SETUP]]: runs the program with the aliases in
# $XDG_CONFIG_HOME; SETUP runs after the start-up, right before the window.
measure() {
  local window=${2:-$secs} setup=${3:-}
  build/src/app/sonmira & local pid=$!
  pids+=("$pid")
  sleep 3 # start-up and the first scan
  if [ -n "$setup" ]; then "$setup"; fi
  local t0; t0=$(awk '{print $14+$15}' "/proc/$pid/stat")
  sleep "$window"
  local t1; t1=$(awk '{print $14+$15}' "/proc/$pid/stat")
  local rss; rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  awk -v a="$t0" -v b="$t1" -v hz="$tick" -v s="$window" -v r="$rss" -v n="$1" \
    'BEGIN { printf "%-16s cpu %6.3f %% of one core   rss %6.1f MB\n", n, 100*(b-a)/hz/s, r/1024 }'
}

# Every COM number is aliased, so no real device is ever opened.
aliases() {
  export XDG_CONFIG_HOME="$work/config-$1"
  mkdir -p "$XDG_CONFIG_HOME/sonmira/ports"
  for n in $(seq 1 12); do ln -sf "$work/absent$n" "$XDG_CONFIG_HOME/sonmira/ports/COM$n"; done
}

aliases none
measure "no unit"

# unit NAME: a simulated unit on COM1; its process id in $sim.
unit() {
  aliases "$1"
  build/tools/sonmira-unit-sim --link "$work/$1" >/dev/null & sim=$!
  pids+=("$sim")
  for _ in $(seq 50); do [ -e "$work/$1" ] && break; sleep 0.1; done
  ln -sf "$work/$1" "$XDG_CONFIG_HOME/sonmira/ports/COM1"
}

unit connected
measure "connected unit"

# The unit's program is killed and its terminal hangs up. The watchdog reports
# the loss no sooner than 4 s after the next heartbeat: the window ends before.
unit gone
kill_unit() { kill -KILL "$sim"; wait "$sim" 2>/dev/null || true; }
measure "unit gone" 3 kill_unit
