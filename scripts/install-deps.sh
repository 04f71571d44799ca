#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the project need, only
# when one is missing. Runs apt-get update at most once per call. Needs root (or sudo).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  # the display tests also run under a window manager (focus and drop-down lists differ there)
  openbox
  # translations (.ts to .qm, Qt's own German texts) and the manual page
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n help2man
  # the release engine: recognition, orientation, page images, PDF, the text font
  libtesseract-dev libleptonica-dev tesseract-ocr-eng tesseract-ocr-deu tesseract-ocr-osd
  libpodofo-dev fonts-dejavu-core
  # PDF/A: the sRGB output intent; object streams (qpdf), which PoDoFo cannot write
  icc-profiles-free libqpdf-dev
  # PDF pages in: rendered with Poppler's C++ interface (qpdf reads their structure)
  libpoppler-cpp-dev
  # the release tests read PDFs back and check PDF/A rule by rule; the benchmark runs
  # Tesseract's own command line (OCRmyPDF, its other yardstick, is installed by hand)
  poppler-utils libpoppler-qt6-dev tesseract-ocr python3-pikepdf qpdf
  # the package test's hosts: the Python host (Debian's interpreter and PyQt6); the Qt Designer
  # plugin and its QUiLoader test (whose CMake package needs the OpenGL one); the API reference
  python3 python3-pyqt6 qt6-tools-dev libqt6opengl6-dev doxygen
  # the hub's tests: the unit's rating (systemd-analyze), a machine whose clock is wrong in the
  # long runs (libfaketime)
  systemd libfaketime
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
