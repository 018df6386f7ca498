#!/usr/bin/env bash
# Installs the Debian 12 packages the module builds, tests and runs with.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq \
  build-essential cmake ninja-build pkg-config clang \
  qt6-base-dev libgl-dev \
  libsqlite3-dev sqlite3 libcurl4-openssl-dev libzip-dev libminizip-dev zlib1g-dev libjpeg-dev \
  libgtest-dev libgmock-dev libcpp-httplib-dev libssl-dev pxlib-dev \
  ca-certificates zip curl time fonts-liberation xvfb openbox xdotool x11-apps >/dev/null
