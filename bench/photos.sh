# Sourced by the benchmarks: the photographs they time, the JPEG wallpapers of Debian's
# mate-backgrounds package, fetched once with apt-get download into a cache folder (never into
# the repository).
#
#   fetch_photos DIR    fills DIR with them (once); sets chosen to their names in the package

# Nine photographs of 2 to 18 megapixels, three of them progressive.
chosen=(abstract/Elephants_5640x3172.jpg abstract/Elephants_3840x2160.jpg nature/Aqua.jpg nature/Garden.jpg
        nature/LadyBird.jpg nature/TwoWings.jpg nature/Wood.jpg nature/FreshFlower.jpg nature/Storm.jpg)

fetch_photos() {
  local photos="$1" download f
  if [[ -f "$photos/.complete" && $(ls "$photos"/*.jpg 2>/dev/null | wc -l) -eq ${#chosen[@]} ]]; then return; fi
  mkdir -p "$photos"
  download="$(mktemp -d)"
  chmod 755 "$download"   # apt-get download writes as its own unprivileged user where it can
  (cd "$download" && apt-get download mate-backgrounds >/dev/null 2>&1)
  dpkg-deb -x "$download"/mate-backgrounds_*.deb "$download/x"
  for f in "${chosen[@]}"; do cp "$download/x/usr/share/backgrounds/mate/$f" "$photos/"; done
  rm -rf "$download"
  touch "$photos/.complete"
}
