#!/usr/bin/env bash
# A single-node Slurm cluster on this machine (munged, slurmctld and slurmd on 127.0.0.1, with a
# configuration, key, state and spool of their own in a temporary folder) runs the array script
# of scripts/cluster as a four-task array; the union of the four shares is byte-identical to one
# stamp run. The daemons run in the foreground of this script and are stopped on any exit.
#
#   slurm.sh VELINOR_CLI SOURCE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert python3 munged mungekey slurmctld slurmd sbatch sinfo squeue scancel
cli="$(realpath "$1")"
source_dir="$(realpath "$2")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/velinor-slurm.XXXXXX")"
chmod 755 "$work"
daemons=()
stop() {
  local status=$?
  if [[ -n "${SLURM_CONF:-}" ]]; then scancel --quiet --full --signal=KILL --user="$(id -un)" 2>/dev/null || true; fi
  local i pid
  # The node daemon first, the controller next, munged last.
  for ((i = ${#daemons[@]} - 1; i >= 0; i--)); do kill "${daemons[i]}" 2>/dev/null || true; done
  for pid in "${daemons[@]}"; do
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  if ((status != 0)) && [[ -d "$work/log" ]]; then
    echo "--- daemon logs (last lines)"
    tail -n 15 "$work"/log/* 2>/dev/null || true
  fi
  rm -rf "$work"
  exit "$status"
}
trap stop EXIT
trap 'exit 1' INT TERM
failures=0
check() {
  if [[ "$2" != "$3" ]]; then echo "FAIL $1: expected $2, got $3"; failures=$((failures + 1)); else echo "ok   $1"; fi
}
cd "$work"
mkdir -p state spool log munge

# munged with a key and socket of its own, in the foreground.
mungekey --create --keyfile=munge/munge.key --force
chmod 400 munge/munge.key
munged --foreground --force --key-file=munge/munge.key --socket=munge/munge.sock --pid-file=munge/munged.pid \
  --log-file=log/munged.log --seed-file=munge/munge.seed >log/munged.out 2>&1 &
daemons+=($!)
for _ in $(seq 1 50); do [[ -S munge/munge.sock ]] && break; sleep 0.1; done
[[ -S munge/munge.sock ]] || { echo "FAIL munged did not start"; exit 1; }

read -r controller_port node_port < <(python3 -c '
import socket
s = [socket.socket() for _ in range(2)]
for x in s: x.bind(("127.0.0.1", 0))
print(*[x.getsockname()[1] for x in s])')
host="$(hostname -s)"
cat > slurm.conf <<CONF
ClusterName=velinor-test
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$controller_port
SlurmdPort=$node_port
SlurmUser=$(id -un)
AuthType=auth/munge
AuthInfo=socket=$work/munge/munge.sock
CredType=cred/munge
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/log/slurmctld.log
SlurmdLogFile=$work/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
NodeName=$host NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=test Nodes=$host Default=YES MaxTime=10 State=UP
CONF
export SLURM_CONF="$work/slurm.conf"
slurmctld -D -i -f "$SLURM_CONF" >log/slurmctld.out 2>&1 &
daemons+=($!)
slurmd -D -N "$host" -f "$SLURM_CONF" >log/slurmd.out 2>&1 &
daemons+=($!)
state=""
for _ in $(seq 1 100); do
  state="$(sinfo -h -N -o %T 2>/dev/null || true)"
  [[ "$state" == idle ]] && break
  sleep 0.2
done
check "the node is up" idle "$state"
[[ "$state" == idle ]] || exit 1

# The pictures: a folder with a sub-folder, listed in a file.
mkdir -p src/sub
for i in 1 2 3 4 5 6 7; do convert -size 60x40 "xc:rgb($((i * 30)),120,90)" "src/p$i.jpg"; done
convert -size 40x60 xc:'#3366cc' src/sub/q.png
(cd src && find . -type f | sed 's|^\./||') > list.txt
marks=(--text "{n} of {count}" --size 9 --name '{n}-{stem}.{ext}')
"$cli" stamp --files-from list.txt --base src -o one "${marks[@]}" 2>/dev/null

# Four tasks, each its own share from SLURM_ARRAY_TASK_ID and SLURM_ARRAY_TASK_COUNT.
status=0
STAMP_SCRIPTS="$source_dir/scripts/cluster" VELINOR_CLI="$cli" STAMP_LOGS="$work/logs" \
  timeout 120 sbatch --wait --quiet --array=0-3 --cpus-per-task=1 --output="$work/log/task-%a.out" \
  "$source_dir/scripts/cluster/stamp-array.sbatch" "$work/list.txt" "$work/src" "$work/array" "${marks[@]}" || status=$?
check "the array ran, every task ending well" 0 "$status"
check "the union of the four shares is one run" same "$(python3 "$here/same-tree.py" one array)"
check "each task took its own share" "0/4 1/4 2/4 3/4" "$(python3 -c '
import json, glob
shares = []
for name in sorted(glob.glob("logs/share-*.jsonl")):
    for line in open(name):
        o = json.loads(line)
        if o.get("summary"): shares.append("%d/%d" % (o["share"], o["shares"]))
print(" ".join(sorted(shares)))')"

if ((failures > 0)); then
  echo "$failures checks failed"
  for f in log/task-*.out; do echo "--- $f"; cat "$f"; done
  exit 1
fi
echo "all checks passed"
