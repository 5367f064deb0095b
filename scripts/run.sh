#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated unit on a
# pseudo-terminal, points COM1 at it and runs the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh >/dev/null

work=$(mktemp -d)
trap 'kill "${sim_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
build/tools/sonmira-unit-sim --link "$work/unit" "$@" &
sim_pid=$!
for _ in $(seq 50); do [ -e "$work/unit" ] && break; sleep 0.1; done

# A private config folder, so the COM1 alias does not touch the user's own.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/sonmira/ports"
ln -s "$work/unit" "$XDG_CONFIG_HOME/sonmira/ports/COM1"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: running offscreen (set DISPLAY to see the window)."
  printf '{"screens":[{"name":"s0","x":0,"y":0,"width":1280,"height":1024,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]}' > "$work/screen.json"
  export QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json"
fi
build/src/app/sonmira
