#!/usr/bin/env bash
# The job window's parts reach it through the interface it offers them, never through its class:
# only the application window, which makes job windows, and the window's own source may include
# the window's header. Prints every other viewer source that does and fails on any.
set -euo pipefail
root=${1:?usage: job_window_parts.sh SOURCE_DIR}
offenders=$(grep -rl --include='*.h' --include='*.cpp' '"WKRN/sheet/WKRN_SheetWindow\.h"' \
              "$root/src/WKRN" |
            grep -v -e '/sheet/WKRN_SheetWindow\.cpp$' -e '/app/WKRN_Tressida\.cpp$' || true)
if [ -n "$offenders" ]; then
  echo "These viewer sources include the job window's class instead of WKRN_SheetWindowHost:"
  echo "$offenders"
  exit 1
fi
echo "only the application window and the job window include WKRN_SheetWindow.h"
