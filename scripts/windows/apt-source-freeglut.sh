#!/usr/bin/env bash
# Fetches Debian's freeglut source package into DIR with apt-get source,
# through a sources list and lists folder of its own under DIR/apt: the
# machine's apt configuration stays as it is.
set -euo pipefail
dir=$(mkdir -p "$1" && cd "$1" && pwd)
apt_dir=$dir/apt
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" \
  "$apt_dir/cache/archives/partial"

# The mirror the machine already uses for bookworm.
mirror=""
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  mirror=$(awk '
    /^[[:space:]]*$/ { if (uri != "" && suite) exit; uri = ""; suite = 0; next }
    /^URIs:/ { uri = $2 }
    /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == "bookworm") suite = 1 }
    END { if (uri != "" && suite) print uri }' /etc/apt/sources.list.d/debian.sources)
fi
if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
  mirror=$(awk '$1 == "deb" && $0 ~ / bookworm / { for (i = 2; i <= NF; i++) if ($i ~ /:\/\//) { print $i; exit } }' \
    /etc/apt/sources.list)
fi
mirror=${mirror:-http://deb.debian.org/debian}
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror bookworm main" \
  >"$apt_dir/sources.list"

options=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Sandbox::User=root"
  -o "Acquire::Languages=none"
)
apt-get "${options[@]}" -qq update
(cd "$dir" && apt-get "${options[@]}" -qq source freeglut)
rm -rf "$apt_dir"  # the indexes were only needed for the download
