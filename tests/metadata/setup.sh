# Sourced by the metadata scripts after cli, headless and stage are set: fails (never skips) when
# a tool or the profile is missing, makes a runtime folder to work in, and defines check.
for tool in exiftool convert cmp python3; do
  command -v "$tool" >/dev/null || { echo "FAIL $tool is not installed"; exit 1; }
done
profile=/usr/share/color/icc/compatibleWithAdobeRGB1998.icc
[[ -f "$profile" ]] || { echo "FAIL $profile is missing (icc-profiles-free)"; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/../batch/work-folder.sh"
