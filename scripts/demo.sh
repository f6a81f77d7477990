#!/usr/bin/env bash
# Sets everything up and shows Stockavelle on a ready demo shop: builds both programs, starts a local server on a
# demo database set filled with a few dozen items, some invoices and staff messages, and opens the client on a
# demo data set. Closing the client stops the demo server.
#
#   scripts/demo.sh                 # demo lives in $HOME/Stockavelle/Demo
#   STOCKAVELLE_DEMO=/tmp/shop scripts/demo.sh
#
# The demo keeps its own socket and application-data folders, so it never meets a real server on this computer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

demo="${STOCKAVELLE_DEMO:-$HOME/Stockavelle/Demo}"
server_name="stockavelle server 1.0"
database_set="$demo/Database Set"
data_set="$demo/Data Set"
export STOCKAVELLE_PIPE_DIR="$demo/pipes"
export STOCKAVELLE_APPDATA="$demo/application data"
mkdir -p "$database_set" "$STOCKAVELLE_PIPE_DIR" "$STOCKAVELLE_APPDATA"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: no display to show the client on; run this from a desktop session (or under xvfb-run)." >&2
  exit 1
fi

server_log="$demo/server log.txt"
build/bin/StockavelleServer --headless --database-set "$database_set" --server-name "$server_name" \
  >"$server_log" 2>&1 &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null || true' EXIT

# The server is ready once it says so in its log; give up after 20 s rather than hang.
for _ in $(seq 200); do
  if grep -q "Waiting for a client request" "$server_log" 2>/dev/null; then break; fi
  if ! kill -0 "$server_pid" 2>/dev/null; then
    echo "demo: the server did not start; its log:" >&2
    cat "$server_log" >&2
    exit 1
  fi
  sleep 0.1
done
grep -q "Waiting for a client request" "$server_log" || { echo "demo: the server is not answering" >&2; exit 1; }

# Adds nothing when the set already holds invoices, so a second run keeps what was done in the first.
build/bin/seed_demo --server-name "$server_name"

# A data set made here rather than by the client's folder dialog, so the company details are already filled in.
if [ ! -f "$data_set/stockavelle client settings.txt" ]; then
  mkdir -p "$data_set/Price Files" "$data_set/Receipt Layouts" "$data_set/Reports/Inventory Images"
  cp build/bin/*.xsl "$data_set/Reports/"
  sed -e 's/^WindowTitle=.*\r$/WindowTitle=Harbour Hardware\r/' \
      -e 's/^CompanyName=.*\r$/CompanyName=Harbour Hardware\r/' \
      -e 's/^Address=.*\r$/Address=14 Quay Street\r/' \
      -e 's/^City=.*\r$/City=Port Ellis\r/' \
      -e 's/^State=.*\r$/State=ME\r/' \
      -e 's/^ZipCode=.*\r$/ZipCode=04011\r/' \
      -e 's/^PhoneNumber=.*\r$/PhoneNumber=(207) 555-0148\r/' \
      -e 's/^TaxPercentage=.*\r$/TaxPercentage=8.25\r/' \
      "build/bin/default client settings.txt" >"$data_set/stockavelle client settings.txt"
fi

# The full-page and the 80 mm roll receipt layouts; a layout the user changed is kept.
mkdir -p "$data_set/Receipt Layouts"
for layout in "build/bin/Default Layout.txt" "build/bin/80mm Receipt.txt"; do
  [ -e "$data_set/Receipt Layouts/${layout##*/}" ] || cp "$layout" "$data_set/Receipt Layouts/"
done

# Two suppliers' price lists for "Search..." and "Update Prices..."; a list the user changed is kept.
mkdir -p "$data_set/Price Files"
for price_file in "resources/demo/Price Files/"*.txt; do
  [ -e "$data_set/Price Files/${price_file##*/}" ] || cp "$price_file" "$data_set/Price Files/"
done

# A supplier's delivery to receive with File > "Import Items..." (the dust masks' backorder is offered the new
# stock first); a delivery the user changed is kept.
mkdir -p "$data_set/Deliveries"
for delivery in resources/demo/Deliveries/*.txt; do
  [ -e "$data_set/Deliveries/${delivery##*/}" ] || cp "$delivery" "$data_set/Deliveries/"
done

# A few customers and suppliers in the client's own address book, so the Contacts window has someone to find.
if [ ! -s "$data_set/contacts.txt" ]; then
  cp resources/demo/contacts.txt "$data_set/contacts.txt"
fi

echo "Demo database set: $database_set (server log: $server_log)"
echo "Demo data set:     $data_set"
build/bin/Stockavelle --data-set "$data_set"
