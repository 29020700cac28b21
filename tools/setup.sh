#!/usr/bin/env bash
# Installs what the build needs on a fresh Debian 12 machine (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  build-essential cmake ninja-build clang libclang-rt-14-dev \
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev \
  qt6-base-dev libgl-dev
