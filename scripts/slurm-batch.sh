#!/usr/bin/env bash
# One task of a SLURM job array measuring a list of pictures: task i of n takes the
# i-th of n slices of the list, one after another, and appends its results to its own
# JSON-lines part. A task requeued after it was stopped passes over what its part
# already holds. Merged in task order, the parts equal one run over the whole list.
#
#   sbatch --array=0-99 scripts/slurm-batch.sh LIST PARTS [VANDREL-COUNT OPTION]...
#   cat PARTS/part-*.jsonl > results.jsonl        # once every task has finished
#
# LIST names the pictures, one a line; PARTS is the folder of the parts. vandrel-count
# is taken from the PATH, or from $VANDREL_COUNT.
#SBATCH --job-name=vandrel
#SBATCH --cpus-per-task=1
#SBATCH --output=vandrel-%A_%a.log
set -euo pipefail

list=${1:?usage: sbatch --array=0-N scripts/slurm-batch.sh LIST PARTS [VANDREL-COUNT OPTION]...}
parts=${2:?usage: sbatch --array=0-N scripts/slurm-batch.sh LIST PARTS [VANDREL-COUNT OPTION]...}
shift 2
task=${SLURM_ARRAY_TASK_ID:?run this as a task of a job array (sbatch --array)}
tasks=${SLURM_ARRAY_TASK_COUNT:?run this as a task of a job array (sbatch --array)}
first_task=${SLURM_ARRAY_TASK_MIN:-0}
index=$((task - first_task))

lines=$(wc -l < "$list")
per_task=$(( (lines + tasks - 1) / tasks ))
mkdir -p "$parts"
part=$(printf '%s/part-%06d.jsonl' "$parts" "$index")
sed -n "$((index * per_task + 1)),$(((index + 1) * per_task))p" "$list" > "$part.list"
# The picture a stopped task was writing is measured again; its cut line goes.
"${VANDREL_COUNT:-vandrel-count}" --format jsonl "$@" --skip-done "$part" --files-from "$part.list" >> "$part"
