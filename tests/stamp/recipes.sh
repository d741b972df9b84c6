#!/usr/bin/env bash
# The recipes of scripts/cluster run for real on this machine: GNU parallel splitting a folder's
# list over four shares (the union byte-identical to one run; its job log lets a second run do
# nothing; a share whose log is gone is redone from its outputs), then the same over ssh to an
# sshd of the test's own on 127.0.0.1 (its keys and configuration in the work folder); the Kubernetes Indexed Job and
# the AWS Batch job definition read by python3's YAML parser and jq, and their commands run with
# the variables their schedulers set (JOB_COMPLETION_INDEX, AWS_BATCH_JOB_ARRAY_INDEX and the
# job definition's parameters), their union again one run.
#
#   recipes.sh VELINOR_CLI SOURCE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert python3 parallel jq ssh ssh-keygen /usr/sbin/sshd
python3 -c 'import yaml' 2>/dev/null || { echo "FAIL: python3 has no yaml module (Debian package python3-yaml)"; exit 1; }
cli="$(realpath "$1")"
source_dir="$(realpath "$2")"
recipes="$source_dir/scripts/cluster"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/setup.sh"
same_tree() { python3 "$here/same-tree.py" "$@"; }
summaries() { cat "$@" | python3 -c 'import json, sys
print(" ".join(sorted("%d/%d" % (o["share"], o["shares"]) for o in map(json.loads, sys.stdin) if o.get("summary"))))'; }

mkdir -p in/b
for i in $(seq 1 9); do convert -size 50x30 "xc:rgb($((i * 25)),60,$((250 - i * 25)))" "in/p$i.jpg"; done
convert -size 30x50 xc:'#55aa77' "in/b/q r.png"
(cd in && find . -type f | sed 's|^\./||') > list.txt
marks=(--text "© Example Studio" --size 3% --anchor bottom-right --margin 2%)
"$cli" stamp --files-from list.txt --base in -o one "${marks[@]}" --name '{n}-{stem}.{ext}' 2>/dev/null

# GNU parallel, four shares on this machine (":" is this machine for --sshlogin).
export VELINOR_CLI="$cli"
STAMP_LOGS=logs STAMP_SSHLOGIN=: "$recipes/stamp-parallel" 4 "$PWD/list.txt" "$PWD/in" "$PWD/par" \
  "${marks[@]}" --name '{n}-{stem}.{ext}' 2> par.err
check "parallel: four shares make one run" same "$(same_tree one par)"
check "parallel: the job log has four shares that ended well" "4 0" \
  "$(tail -n +2 logs/joblog | wc -l) $(tail -n +2 logs/joblog | awk -F'\t' '$7 != 0' | wc -l)"
check "parallel: each share's log says its share" "0/4 1/4 2/4 3/4" "$(summaries logs/share-*.jsonl)"
# Run again: parallel's --resume-failed finds every share done and runs none.
lines_before="$(cat logs/share-*.jsonl | wc -l)"
STAMP_LOGS=logs "$recipes/stamp-parallel" 4 "$PWD/list.txt" "$PWD/in" "$PWD/par" "${marks[@]}" --name '{n}-{stem}.{ext}' 2>/dev/null
check "parallel: a second run runs no share" "4 $lines_before" \
  "$(tail -n +2 logs/joblog | wc -l) $(cat logs/share-*.jsonl | wc -l)"
# A share that failed (its line in the job log says so) is run again; its pictures are there, so
# it writes nothing and skips them all: places 2 and 6 of the ten.
awk -F'\t' 'BEGIN{OFS="\t"} NR > 1 && $9 ~ /--shard 2\/4/ {$7 = 3} {print}' logs/joblog > joblog.new && mv joblog.new logs/joblog
rm logs/share-2.jsonl
STAMP_LOGS=logs "$recipes/stamp-parallel" 4 "$PWD/list.txt" "$PWD/in" "$PWD/par" "${marks[@]}" --name '{n}-{stem}.{ext}' 2>/dev/null
check "parallel: the failed share alone runs again, skipping what is there" "0 2" \
  "$(jq -s 'map(select(.summary)) | .[0].written' logs/share-2.jsonl) $(jq -s 'map(select(.summary)) | .[0].skipped' logs/share-2.jsonl)"
check "parallel: the outputs are still one run's" same "$(same_tree one par)"

# Over ssh: an sshd of this test's own, in the foreground, stopped when the test ends.
mkdir -p ssh /run/sshd
ssh-keygen -q -t ed25519 -N '' -f ssh/host_key
ssh-keygen -q -t ed25519 -N '' -f ssh/user_key
cp ssh/user_key.pub ssh/authorized_keys
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
printf '%s\n' "Port $port" "ListenAddress 127.0.0.1" "HostKey $PWD/ssh/host_key" "PidFile $PWD/ssh/sshd.pid" \
  "AuthorizedKeysFile $PWD/ssh/authorized_keys" "PasswordAuthentication no" "KbdInteractiveAuthentication no" \
  "PermitRootLogin prohibit-password" "UsePAM no" "StrictModes no" > ssh/sshd_config
/usr/sbin/sshd -D -e -f "$PWD/ssh/sshd_config" 2> ssh/sshd.log &
sshd_pid=$!
trap 'kill "$sshd_pid" 2>/dev/null; wait "$sshd_pid" 2>/dev/null; rm -rf "$work"' EXIT
login="ssh -p $port -i $PWD/ssh/user_key -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null -o BatchMode=yes -o LogLevel=ERROR 127.0.0.1"
for _ in $(seq 1 50); do $login true 2>/dev/null && break; sleep 0.1; done
check "sshd answers" ok "$($login echo ok 2>&1)"
STAMP_LOGS=ssh-logs STAMP_SSHLOGIN="2/$login" "$recipes/stamp-parallel" 4 "$PWD/list.txt" "$PWD/in" "$PWD/par-ssh" \
  "${marks[@]}" --name '{n}-{stem}.{ext}' 2> par-ssh.err
check "parallel over ssh: four shares make one run" same "$(same_tree one par-ssh)"
check "parallel over ssh: every share ran through the ssh login" "4 4" \
  "$(tail -n +2 ssh-logs/joblog | awk -F'\t' '$7 == 0' | wc -l) $(tail -n +2 ssh-logs/joblog | grep -c -F "127.0.0.1")"

# The Kubernetes Indexed Job: its container's command, run once per index.
yaml_json="$(python3 -c 'import json, sys, yaml; print(json.dumps(yaml.safe_load(open(sys.argv[1]))))' "$recipes/stamp-indexed-job.yaml")"
check "Kubernetes: an Indexed Job of four" "Indexed 4 4 Never" \
  "$(jq -r '.spec | "\(.completionMode) \(.completions) \(.parallelism) \(.template.spec.restartPolicy)"' <<<"$yaml_json")"
check "Kubernetes: exit 1 and 2 fail the index, not retried" "FailIndex [1,2]" \
  "$(jq -c -r '.spec.podFailurePolicy.rules[0] | "\(.action) \(.onExitCodes.values)"' <<<"$yaml_json")"
completions="$(jq '.spec.completions' <<<"$yaml_json")"
mkdir -p k8s && cp -r in list.txt k8s/
for ((i = 0; i < completions; i++)); do
  mapfile -d '' -t command < <(jq -j --arg data "$PWD/k8s" --arg cli "$cli" \
    '.spec.template.spec.containers[0] | (.command + .args)[] | gsub("/data"; $data) | gsub("velinor-cli stamp"; "\($cli) stamp") + "\u0000"' <<<"$yaml_json")
  mapfile -d '' -t vars < <(jq -j '.spec.template.spec.containers[0].env[] | "\(.name)=\(.value)\u0000"' <<<"$yaml_json")
  env "${vars[@]}" JOB_COMPLETION_INDEX="$i" "${command[@]}" 2>/dev/null
done
"$cli" stamp --files-from list.txt --base in -o k8s-one "${marks[@]}" 2>/dev/null
check "Kubernetes: the indexes' union is one run" same "$(same_tree k8s-one k8s/out)"
check "Kubernetes: each pod took its index" "0/4 1/4 2/4 3/4" "$(summaries k8s/logs/share-*.jsonl)"

# The AWS Batch job definition: its command with the parameters put in, once per array index.
definition="$recipes/stamp-batch-job.json"
check "AWS Batch: exit 3 is retried, any other ends the job" "RETRY EXIT" \
  "$(jq -r '.retryStrategy.evaluateOnExit | map(select(.onExitCode)) | map(.action) | join(" ")' "$definition")"
shards="$(jq -r '.parameters.shards' "$definition")"
mkdir -p aws && cp -r in list.txt aws/
for ((i = 0; i < shards; i++)); do
  mapfile -d '' -t command < <(jq -j --arg data "$PWD/aws" --arg cli "$cli" \
    '.parameters as $p | .containerProperties.command[] |
     (if startswith("Ref::") then $p[ltrimstr("Ref::")] else . end) | gsub("/data"; $data) |
     gsub("velinor-cli stamp"; "\($cli) stamp") + "\u0000"' "$definition")
  mapfile -d '' -t vars < <(jq -j '.containerProperties.environment[] | "\(.name)=\(.value)\u0000"' "$definition")
  env "${vars[@]}" AWS_BATCH_JOB_ARRAY_INDEX="$i" "${command[@]}" 2>/dev/null
done
check "AWS Batch: the array's union is one run" same "$(same_tree k8s-one aws/out)"
check "AWS Batch: each child took its index" "0/4 1/4 2/4 3/4" "$(summaries aws/logs/share-*.jsonl)"

finish
