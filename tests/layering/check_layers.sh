#!/usr/bin/env bash
# Fails if a file of the plug-in includes a header from a layer above its own.
# The layers, bottom up, and what each may include besides itself:
#   common     (nothing: the leaf)
#   engine     common
#   resources  common
#   platform   common resources
#   framework  common platform
#   editor     common engine platform framework
#   host       common engine resources platform framework editor
# Usage: check_layers.sh <source root>
set -euo pipefail
cd "$1"

declare -A allowed=(
  [common]=""
  [engine]="common"
  [resources]="common"
  [platform]="common resources"
  [framework]="common platform"
  [editor]="common engine platform framework"
  [host]="common engine resources platform framework editor"
)

violations=0
for layer in "${!allowed[@]}"; do
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(echo "$line" | sed -E 's/.*#include "([^/"]+)\/.*/\1/')
    [ "$target" = "$layer" ] && continue
    case " ${allowed[$layer]} " in
      *" $target "*) ;;
      *) echo "$file includes from $target/, a layer above or beside $layer/"
         violations=$((violations + 1)) ;;
    esac
  done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^/"]+/' "$layer" \
             --include='*.h' --include='*.cpp' --include='*.rc' || true)
done

echo "$violations include(s) against the layering"
[ "$violations" -eq 0 ]
