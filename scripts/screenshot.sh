#!/usr/bin/env bash
# Takes docs/screenshot.png: the installed board under a private Xvfb, with a
# few titled slots, cut to the window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'kill "$board_pid" "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
board_pid=""

cp -r "$root/dist/." "$work/"
titles=(掌声 欢呼 笑声 尴尬 鼓声 "叮!" 开场 结束 胜利 失败)
{
  echo "[配置]"
  for i in "${!titles[@]}"; do echo "$((i + 1))=${titles[$i]}"; done
} > "$work/data/标题.ini"
printf '[配置]\n1=蓝色风格\n' > "$work/data/pf.ini"

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1024x640x24 -nolisten tcp -noreset 2>/dev/null &
xvfb_pid=$!
read -r -t 10 display_number <&"$display_fd"
export DISPLAY=":$display_number"

SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work" "$work/Tavrik" 2>/dev/null &
board_pid=$!
window=""
for _ in $(seq 50); do
  window="$(xdotool search --onlyvisible --name '^Quorin主持音效助手' 2>/dev/null | head -1 || true)"
  [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "$window" ]] || { echo "the board did not show" >&2; exit 1; }
sleep "${TAVRIK_SCREENSHOT_DELAY:-3}"  # past the fade-in
import -window "$window" "$root/docs/screenshot.png"
echo "wrote $root/docs/screenshot.png"
