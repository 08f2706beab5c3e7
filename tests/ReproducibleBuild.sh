#!/usr/bin/env bash
# ReproducibleBuild.sh: two clean builds of the win32 preset from the checked-out commit give byte-identical images.
# Usage: ReproducibleBuild.sh SOURCE_DIR WORK_DIR TARGET...
# The commit (git archive HEAD: uncommitted changes play no part) is unpacked into
# WORK_DIR/src and built twice from scratch, into WORK_DIR/a and WORK_DIR/b, at different
# times and in different folders; every exe and DLL the TARGETs made must be the same in
# both. WORK_DIR is emptied first and removed after a pass; its name must end in "-repro".
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: ReproducibleBuild.sh SOURCE_DIR WORK_DIR TARGET..." >&2; exit 2; }
source_dir="$(realpath "$1")"
work="$(realpath -m "$2")"
shift 2
case "$work" in
    *-repro) ;;
    *) echo "ReproducibleBuild: refusing to empty $work (its name must end in -repro)" >&2; exit 2 ;;
esac

rm -rf "$work"
mkdir -p "$work/src"
git -C "$source_dir" archive HEAD | tar -x -C "$work/src"
# What the build would take from the commit itself; the unpacked tree has no history.
SOURCE_DATE_EPOCH="$(git -C "$source_dir" log -1 --format=%ct)"
export SOURCE_DATE_EPOCH

for build in a b; do
    echo "== build $build: $*"
    cmake -S "$work/src" --preset win32 -B "$work/$build" >/dev/null
    cmake --build "$work/$build" --target "$@" >"$work/$build.log" 2>&1 || { cat "$work/$build.log"; exit 1; }
    # The second build starts at another second, so a stamped clock would show.
    sleep 1
done

images() {
    (cd "$1" && find . -maxdepth 2 \( -name '*.exe' -o -name '*.dll' \) -type f -printf '%P\n' | sort)
}
if [ "$(images "$work/a")" != "$(images "$work/b")" ]; then
    echo "FAIL: the two builds made different sets of images"
    diff <(images "$work/a") <(images "$work/b") || true
    exit 1
fi
count=0
failed=0
for image in $(images "$work/a"); do
    count=$((count + 1))
    if cmp -s "$work/a/$image" "$work/b/$image"; then
        echo "same $image ($(stat -c %s "$work/a/$image") bytes)"
    else
        echo "FAIL: $image differs between the two builds"
        cmp -l "$work/a/$image" "$work/b/$image" | head -5 || true
        failed=1
    fi
done
[ $count -gt 0 ] || { echo "FAIL: the builds made no images"; exit 1; }
[ $failed -eq 0 ] || exit 1
rm -rf "$work"
echo "reproducible: $count images"
