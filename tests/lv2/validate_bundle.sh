#!/usr/bin/env bash
# The bundle's Turtle against the schemas LV2 itself ships
# (lv2_validate from lv2-dev, which runs sordi's validator): no error and no
# warning.
# Usage: validate_bundle.sh <bundle folder>
set -euo pipefail
bundle=$1
report=$(lv2_validate "$bundle"/*.ttl 2>&1) || { echo "$report"; exit 1; }
echo "$report" | grep -v '^Skipping file'
if echo "$report" | grep -Eiq 'warn|error: '; then
  echo "lv2_validate reported a warning or an error"
  exit 1
fi
echo "$report" | grep -q 'Found 0 errors'
