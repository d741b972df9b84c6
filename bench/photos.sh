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

# The photo of folder whose decode alone takes longest, and that time: djpeg -outfile /dev/null on
# core 0, wall seconds, best of rounds; prints "seconds name". One picture is decoded by one core
# (a progressive scan is a single stream of codes), so no run that decodes with libjpeg-turbo ends,
# on any number of cores, before this photo is decoded.
slowest_decode() {  # folder rounds
  local f r t best worst=0 name=""
  for f in "$1"/*.jpg; do
    best=""
    for ((r = 0; r < $2; r++)); do
      /usr/bin/time -f '%e' -o decode-time.txt taskset -c 0 djpeg -outfile /dev/null "$f"
      t=$(cat decode-time.txt)
      if [[ -z "$best" ]] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    done
    if awk "BEGIN{exit !($best > $worst)}"; then worst=$best name=$(basename "$f"); fi
  done
  rm -f decode-time.txt
  echo "$worst $name"
}
