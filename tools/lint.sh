#!/bin/bash
# Static analysis and the format check of the project's C++: clang-tidy (.clang-tidy)
# and cppcheck (tools/cppcheck-suppressions.txt) over the compile databases of the
# native and win64 builds, and clang-format --dry-run --Werror over every source and
# header. Prints the findings, then a count for each folder; exits 1 if there is any.
#
#   tools/lint.sh [FOLDER...]    (default: strings_file tools tests bench cli editor)
#
# LINT_NATIVE_DIR and LINT_WIN64_DIR choose the build folders (default build/native and
# build/win64); one without a compile database is configured with its preset first.
set -uo pipefail
cd "$(dirname "$0")/.."
folders=("$@")
[ ${#folders[@]} -gt 0 ] || folders=(strings_file tools tests bench cli editor)
native="${LINT_NATIVE_DIR:-build/native}"
win64="${LINT_WIN64_DIR:-build/win64}"
for pair in "native $native" "win64 $win64"; do
    set -- $pair
    if [ ! -f "$2/compile_commands.json" ]; then
        cmake --preset "$1" -B "$2" >/dev/null || { echo "lint: cannot configure $2"; exit 2; }
    fi
done

findings=$(mktemp -d)
trap 'rm -rf "$findings"' EXIT
sources=$(git ls-files --cached --others --exclude-standard -- "${folders[@]}" | grep -E '\.(cpp|h)$' | sort -u)

# clang-tidy, each source with the database that builds it (Windows-only ones with win64,
# as clang for the mingw-w64 target with the cross compiler's C++ headers).
cross=$(grep -m1 -o '"command": "[^ ]*' "$win64/compile_commands.json" | sed 's/"command": "//')
windows_args="--extra-arg-before=--target=x86_64-w64-mingw32"
for dir in $("$cross" -E -x c++ - -v </dev/null 2>&1 | grep -E '^ /.*/include/c\+\+'); do
    windows_args+=" --extra-arg=-isystem$dir"
done
in_database() { grep -qF "\"file\": \"$PWD/$1\"" "$2/compile_commands.json"; }
for source in $sources; do
    case "$source" in *.cpp) ;; *) continue ;; esac
    if in_database "$source" "$native"; then
        echo "$native $source"
    elif in_database "$source" "$win64"; then
        echo "$win64 $source $windows_args"
    else
        echo "lint: $source is in no compile database" >&2
    fi
done | xargs -P "$(nproc)" -L 1 sh -c '
    out="'"$findings"'/tidy-$$"
    clang-tidy -p "$0" --quiet "$@" >"$out.log" 2>&1
    status=$?
    grep -E "^/.*:[0-9]+:[0-9]+: (warning|error):" "$out.log" >"$out"
    [ $status = 0 ] || [ -s "$out" ] || echo "$PWD/$1:1:1: error: clang-tidy failed (exit $status) [lint]" >"$out"
    rm -f "$out.log"'
cat "$findings"/tidy-* 2>/dev/null | sed "s|^$PWD/||" | sort -u >"$findings/clang-tidy"

# cppcheck, once per database, on the folders' sources that it builds.
filters=()
for folder in "${folders[@]}"; do filters+=("--file-filter=${folder%/}/*"); done
cppcheck_on() {
    cppcheck --project="$1/compile_commands.json" "${filters[@]}" --std=c++17 --quiet \
        --enable=warning,style,performance,portability --inline-suppr --library=googletest \
        --suppressions-list=tools/cppcheck-suppressions.txt "${@:2}" \
        --template='{file}:{line}:{column}: {severity}: {message} [{id}]' 2>&1 |
        grep -v 'could not find any files matching the filter'
}
{ cppcheck_on "$native"; cppcheck_on "$win64" --platform=win64 --library=windows; } | sort -u >"$findings/cppcheck"

# clang-format, on every source and header.
[ -z "$sources" ] || clang-format --dry-run --Werror $sources 2>&1 |
    grep -E "^[^ ].*:[0-9]+:[0-9]+: (warning|error):" | sed "s|^$PWD/||" | sort -u >"$findings/clang-format"
touch "$findings/clang-format"

status=0
for tool in clang-tidy cppcheck clang-format; do
    if [ -s "$findings/$tool" ]; then
        echo "== $tool"
        cat "$findings/$tool"
        status=1
    fi
done
echo "== findings by folder (clang-tidy, cppcheck, clang-format)"
for folder in "${folders[@]}"; do
    counts=()
    for tool in clang-tidy cppcheck clang-format; do
        counts+=("$(grep -c "^${folder%/}/" "$findings/$tool")")
    done
    printf '%-14s %4s %4s %4s\n' "${folder%/}" "${counts[@]}"
done
exit $status
