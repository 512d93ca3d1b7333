#!/bin/sh
# Installs what the build, the tests and the examples need from Debian's
# packages. Shared by run-demo.sh and run-tests.sh, which then build.
set -eu
cd "$(dirname "$0")/.."

need=""
for pkg in qt6-base-dev qt6-tools-dev libqt6opengl6-dev designer-qt6 cmake ninja-build g++ libgtest-dev \
           libbenchmark-dev xvfb xauth xdotool libxcb1-dev fonts-dejavu-core fonts-liberation \
           g++-aarch64-linux-gnu qemu-user fonts-dseg fonts-wqy-microhei \
           qt6-declarative-dev qml-qt6 qml6-module-qtquick qml6-module-qtquick-window \
           qml6-module-qtquick-controls qml6-module-qtquick-templates qml6-module-qtquick-layouts \
           qml6-module-qtqml-workerscript \
           sip-tools python3-pyqtbuild pyqt6-dev python3-pyqt6 python3-pytest python3-psutil; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need="$need $pkg"
done
if [ -n "$need" ]; then
    echo "Installing:$need"
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $need
fi
