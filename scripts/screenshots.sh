#!/usr/bin/env bash
# Retakes the manual's pictures from the real programs on the demo shop, so that the manual shows the programs
# as they are after a change:
#   - every window and dialog, drawn offscreen by the screenshot tests (each drives the real client against a
#     real server seeded with the demo shop);
#   - the till as the demo's first run shows it, and a printed receipt, from scripts/demo.sh running on a
#     virtual display (Xvfb).
#
#   scripts/screenshots.sh            # into resources/client/documentation/images (the manual's pictures)
#   scripts/screenshots.sh DIR        # into DIR
#
# The README's picture of the demo is docs/screenshots/demo-main-window.png; copy it from the manual's folder
# after retaking.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
out=$(realpath -m "${1:-resources/client/documentation/images}")
mkdir -p "$out"

# Windows and dialogs, offscreen.
for test in test_client_app test_client_invoice test_client_inventory test_client_contacts \
            test_client_invoices_window test_server_shell; do
  STOCKAVELLE_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=offscreen build/bin/$test --gtest_filter='Screenshot*' \
    > /dev/null
done

# The demo on a virtual screen: the till as the demo's first run shows it once Continue is pressed in the
# company dialog, and the demo shop's first invoice printed through the default layout.
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
export STOCKAVELLE_DEMO="$demo" OUT="$out"
xvfb-run -a -s "-screen 0 1024x720x24" bash -c '
  scripts/demo.sh > "$STOCKAVELLE_DEMO/demo.log" 2>&1 &
  # Up once the main window and the company dialog in front of it are both mapped.
  for _ in $(seq 600); do
    [ "$(xwininfo -root -tree | grep -c "\"Stockavelle Inventory And Invoice Management System\"")" -ge 2 ] && break
    sleep 0.1
  done
  sleep 2
  xdotool key Return
  # After Continue the window takes the demo shop'"'"'s title.
  for _ in $(seq 100); do window=$(xdotool search --name "^Harbour Hardware$" | head -1); [ -n "$window" ] && break; sleep 0.1; done
  sleep 2
  xwd -id "$window" -silent | xwdtopnm 2>/dev/null | pnmtopng > "$OUT/demo-main-window.png"
  STOCKAVELLE_PIPE_DIR="$STOCKAVELLE_DEMO/pipes" STOCKAVELLE_APPDATA="$STOCKAVELLE_DEMO/application data" \
    build/bin/Stockavelle --data-set "$STOCKAVELLE_DEMO/Data Set" --print-invoice 1 --layout "Default Layout" \
    --pdf "$STOCKAVELLE_DEMO/receipt.pdf" --paper letter
  pdftoppm -png -r 60 -singlefile "$STOCKAVELLE_DEMO/receipt.pdf" "$OUT/receipt-default-layout"
  kill %1; wait || true'
# The report pages the screenshot tests leave behind are not pictures.
rm -rf "$out/pages"
echo "Pictures in $out"
