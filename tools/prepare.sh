#!/usr/bin/env bash
# Installs the missing Debian packages of tools/debian-packages (as root, or through sudo when
# there is one), then configures and builds the program into build/. Needs only bash and apt.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for package in $(sed 's/#.*//' tools/debian-packages); do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
        missing+=("$package")
done

if ((${#missing[@]})); then
    install=(apt-get install -y --no-install-recommends "${missing[@]}")
    cannot_install() {
        echo >&2
        echo "Cannot install them as this user. Run this one command as root, then try again:" >&2
        echo "  apt-get update && ${install[*]}" >&2
        exit 1
    }
    echo "Missing Debian packages: ${missing[*]}"
    if [[ $(id -u) == 0 ]]; then
        as_root=(env)
    elif command -v sudo >/dev/null; then
        as_root=(sudo env)
    else
        cannot_install
    fi
    "${as_root[@]}" apt-get update || cannot_install
    "${as_root[@]}" DEBIAN_FRONTEND=noninteractive "${install[@]}" || cannot_install
fi

cmake --preset default
cmake --build --preset default
