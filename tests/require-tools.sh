# Sourced by the test scripts. The outside tools they compare the programs' output with are part
# of the test setup (scripts/install-deps installs them), so a missing tool fails the test and
# says which one: a check that cannot run must never pass.
#   require_tools TOOL...
require_tools() {
  local tool package missing=0
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 && continue
    case "$tool" in
      djpeg|cjpeg) package=libjpeg-turbo-progs ;;
      xvfb-run) package=xvfb ;;
      exiftool) package=libimage-exiftool-perl ;;
      python3) package=python3 ;;
      cmp) package=diffutils ;;
      man) package=man-db ;;
      munged|mungekey) package=munge ;;
      slurmctld|slurmd|sbatch|sinfo|squeue|scancel|srun) package=slurm-wlm ;;
      parallel) package=parallel ;;
      jq) package=jq ;;
      ssh|ssh-keygen) package=openssh-client ;;
      /usr/sbin/sshd) package=openssh-server ;;
      *) package=imagemagick ;;
    esac
    echo "FAIL: $tool is not installed (Debian package $package); scripts/install-deps installs it" >&2
    missing=1
  done
  ((missing == 0)) || exit 1
}
